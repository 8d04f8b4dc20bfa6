#include "host/session/map_picture.h"

#include <cstdio>
#include <vector>

#include "base/file_bytes.h"
#include "host/com/host_context.h"
#include "host/com/map_painter.h"
#include "host/model/png_writer.h"

namespace kavrel::host {

DibCanvas::DibCanvas(int width, int height) : width_(width), height_(height), dc_(nullptr) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    if (!dc_.get() || width <= 0 || height <= 0) {
        return;
    }
    bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
    if (!bitmap_) {
        bits_ = nullptr;
        return;
    }
    selected_.emplace(dc_.get(), bitmap_.get());
}

bool DibCanvas::Save(const std::wstring& path) const {
    GdiFlush();
    return valid() && WriteBgraPng(path, width_, height_, bits());
}

bool WriteBgraPng(const std::wstring& path, int width, int height, const std::uint8_t* bgra) {
    const std::size_t pixels = static_cast<std::size_t>(width) * height;
    std::vector<std::uint8_t> rgb(pixels * 3);
    for (std::size_t i = 0; i < pixels; ++i) {
        rgb[3 * i] = bgra[4 * i + 2];
        rgb[3 * i + 1] = bgra[4 * i + 1];
        rgb[3 * i + 2] = bgra[4 * i];
    }
    const std::string png = EncodePng(width, height, rgb);
    return WriteFileBytes(path, png);
}

bool WriteMapPicture(HostContext& host, const std::wstring& path, int width, int height) {
    DibCanvas canvas(width, height);
    if (!canvas.valid()) {
        return false;
    }
    PaintMap(host.model(), host.decimal_separator(), canvas.dc(), width, height);
    return canvas.Save(path);
}

}  // namespace kavrel::host
