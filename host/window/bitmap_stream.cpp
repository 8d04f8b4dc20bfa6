#include "host/window/bitmap_stream.h"

#include <cstdlib>
#include <cstring>

#include "host/session/recording_stream.h"

namespace kavrel::host {

BitmapHandle DecodeBitmapStream(const std::vector<std::uint8_t>& bytes) {
    if (!ParseBitmapStream(bytes).valid) {
        return {};
    }
    const std::uint8_t* image = bytes.data() + 4;
    const std::size_t length = bytes.size() - 4;
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER header;
    std::memcpy(&file, image, sizeof file);
    std::memcpy(&header, image + sizeof file, sizeof header);
    if (header.biSize < sizeof header || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biWidth > 4096 || std::abs(header.biHeight) > 4096 || header.biPlanes != 1) {
        return {};
    }
    if (header.biCompression != BI_RGB) {
        return {};
    }
    const int bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        return {};
    }
    // The colour table sits between the header and the pixels.
    std::size_t colours = 0;
    if (bits <= 8) {
        colours = header.biClrUsed != 0 ? header.biClrUsed : (std::size_t{1} << bits);
    }
    const std::size_t info_size = sizeof file + header.biSize + colours * sizeof(RGBQUAD);
    const std::size_t stride = ((static_cast<std::size_t>(header.biWidth) * bits + 31) / 32) * 4;
    const std::size_t pixel_bytes = stride * static_cast<std::size_t>(std::abs(header.biHeight));
    if (info_size > file.bfOffBits || file.bfOffBits > length ||
        pixel_bytes > length - file.bfOffBits) {
        return {};
    }
    // The info block is copied so that it is aligned for the API.
    std::vector<std::uint32_t> info((info_size - sizeof file + 3) / 4);
    std::memcpy(info.data(), image + sizeof file, info_size - sizeof file);
    const auto* bitmap_info = reinterpret_cast<const BITMAPINFO*>(info.data());
    WindowDC screen(nullptr);
    return BitmapHandle(CreateDIBitmap(screen.get(), &bitmap_info->bmiHeader, CBM_INIT,
                                       image + file.bfOffBits, bitmap_info, DIB_RGB_COLORS));
}

}  // namespace kavrel::host
