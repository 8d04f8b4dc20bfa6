#include "frame/save_bitmap.h"

#include <cstdint>
#include <cstring>

#include "base/errors.h"
#include "base/gdi.h"

namespace kavrel {
namespace {

constexpr std::u16string_view kStreamWriteError = u"Ошибка при записи в OLE-поток";

void WriteAll(IStream* stream, const void* data, ULONG size) {
    if (!stream) {
        CheckResult(E_POINTER, kStreamWriteError);
    }
    ULONG written = 0;
    CheckResult(stream->Write(data, size, &written), kStreamWriteError);
    if (written != size) {
        CheckResult(STG_E_MEDIUMFULL, kStreamWriteError);
    }
}

}  // namespace

std::vector<BYTE> BitmapFileImage(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof info, &info) != sizeof info || info.bmWidth <= 0 ||
        info.bmHeight <= 0) {
        throw AddonError(u"Неверный дескриптор растра");
    }
    const WORD bit_count = static_cast<WORD>(info.bmPlanes * info.bmBitsPixel);
    const DWORD colours = bit_count <= 8 ? (1u << bit_count) : 0;
    const DWORD stride = ((static_cast<DWORD>(info.bmWidth) * bit_count + 31) / 32) * 4;
    const DWORD pixel_bytes = stride * static_cast<DWORD>(info.bmHeight);
    const DWORD header_bytes =
        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);

    std::vector<BYTE> image(header_bytes + pixel_bytes, 0);
    auto* file = reinterpret_cast<BITMAPFILEHEADER*>(image.data());
    auto* bmi = reinterpret_cast<BITMAPINFO*>(image.data() + sizeof(BITMAPFILEHEADER));
    file->bfType = 0x4D42;  // "BM"
    file->bfSize = static_cast<DWORD>(image.size());
    file->bfOffBits = header_bytes;
    bmi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi->bmiHeader.biWidth = info.bmWidth;
    bmi->bmiHeader.biHeight = info.bmHeight;
    bmi->bmiHeader.biPlanes = 1;
    bmi->bmiHeader.biBitCount = bit_count;
    bmi->bmiHeader.biCompression = BI_RGB;
    bmi->bmiHeader.biSizeImage = pixel_bytes;
    bmi->bmiHeader.biClrUsed = colours;

    // GetDIBits converts to the layout asked for and fills the colour table of
    // a palettised format; asked for the bitmap's own depth it keeps the pixels.
    WindowDC screen(nullptr);
    if (!screen.get() ||
        GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight),
                  image.data() + header_bytes, bmi, DIB_RGB_COLORS) != info.bmHeight) {
        throw AddonError(u"Неверный дескриптор растра");
    }
    // GetDIBits may rewrite the header fields; the file keeps what it describes.
    bmi->bmiHeader.biSizeImage = pixel_bytes;
    bmi->bmiHeader.biClrUsed = colours;
    return image;
}

void SaveBitmapToStream(HBITMAP bitmap, IStream* stream) {
    const std::vector<BYTE> image = BitmapFileImage(bitmap);
    const std::uint32_t length = static_cast<std::uint32_t>(image.size());
    BYTE length_bytes[4];
    std::memcpy(length_bytes, &length, sizeof length_bytes);  // little-endian on x86
    WriteAll(stream, length_bytes, sizeof length_bytes);
    WriteAll(stream, image.data(), static_cast<ULONG>(image.size()));
}

}  // namespace kavrel
