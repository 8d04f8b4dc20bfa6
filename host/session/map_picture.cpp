#include "host/session/map_picture.h"

#include <windows.h>

#include <cstdio>

#include "addon/gdi.h"
#include "host/com/host_context.h"
#include "host/com/map_painter.h"
#include "host/model/png_writer.h"

namespace kavrel::host {

bool WriteMapPicture(HostContext& host, const std::wstring& path) {
    constexpr int kWidth = 800;
    constexpr int kHeight = 600;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    MemoryDC dc(nullptr);
    BitmapHandle bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dc.get() || !bitmap || !bits) {
        return false;
    }
    {
        SelectedObject selected(dc.get(), bitmap.get());
        PaintMap(host.model(), host.decimal_separator(), dc.get(), kWidth, kHeight);
        GdiFlush();
    }
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(kWidth) * kHeight * 3);
    const auto* bgra = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>(kWidth) * kHeight; ++i) {
        rgb[3 * i] = bgra[4 * i + 2];
        rgb[3 * i + 1] = bgra[4 * i + 1];
        rgb[3 * i + 2] = bgra[4 * i];
    }
    const std::string png = EncodePng(kWidth, kHeight, rgb);
    std::FILE* file = _wfopen(path.c_str(), L"wb");
    if (!file) {
        return false;
    }
    const bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace kavrel::host
