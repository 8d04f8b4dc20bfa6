// A bitmap written into a host stream: a 32-bit length, then a BMP file image.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <vector>

namespace kavrel {

// The complete BMP file image of the bitmap, in the bitmap's own pixel format.
// The handle stays the caller's.
std::vector<BYTE> BitmapFileImage(HBITMAP bitmap);

// Writes the image's length (4 bytes, little-endian) and then the image, each
// with one Write call. A failing or short write raises EHResultError
// "Ошибка при записи в OLE-поток".
void SaveBitmapToStream(HBITMAP bitmap, IStream* stream);

}  // namespace kavrel
