// Writes the map, as the map window paints it, to a PNG file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "base/gdi.h"

namespace kavrel::host {

class HostContext;

bool WriteMapPicture(HostContext& host, const std::wstring& path, int width = 800,
                     int height = 600);

// Encodes top-down 32-bit BGRA rows (a DIB section's bits) as a PNG file.
bool WriteBgraPng(const std::wstring& path, int width, int height, const std::uint8_t* bgra);

// A top-down 32-bit DIB section selected into a memory DC, for painting and
// for copying windows into.
class DibCanvas {
  public:
    DibCanvas(int width, int height);
    DibCanvas(const DibCanvas&) = delete;
    DibCanvas& operator=(const DibCanvas&) = delete;

    bool valid() const { return bits_ != nullptr; }
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint8_t* bits() const { return static_cast<const std::uint8_t*>(bits_); }
    bool Save(const std::wstring& path) const;

  private:
    int width_;
    int height_;
    void* bits_ = nullptr;
    MemoryDC dc_;
    BitmapHandle bitmap_;
    std::optional<SelectedObject> selected_;  // released before the bitmap
};

}  // namespace kavrel::host
