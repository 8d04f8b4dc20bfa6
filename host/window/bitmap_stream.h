// Command bitmaps as the add-on serialises them through IHostAddOn.SaveBitmap
// (a 32-bit length, then a BMP file image), turned back into bitmaps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "base/gdi.h"

namespace kavrel::host {

// The bitmap of the stream's image; empty when the stream is not a whole,
// consistent BMP image (wrong length, no signature, pixels beyond the end).
BitmapHandle DecodeBitmapStream(const std::vector<std::uint8_t>& bytes);

}  // namespace kavrel::host
