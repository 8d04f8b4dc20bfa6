#include "host/session/recording_stream.h"

#include <cstring>

namespace kavrel::host {

HRESULT __stdcall RecordingStream::QueryInterface(REFIID iid, void** out) {
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IStream || iid == IID_ISequentialStream) {
        *out = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

HRESULT __stdcall RecordingStream::Write(const void* data, ULONG size, ULONG* written) {
    try {
        calls_.push_back("Write");
        if (written) {
            *written = 0;
        }
        if (!data && size != 0) {
            return STG_E_INVALIDPOINTER;
        }
        const auto* begin = static_cast<const std::uint8_t*>(data);
        bytes_.insert(bytes_.end(), begin, begin + size);
        if (written) {
            *written = size;
        }
        return S_OK;
    } catch (...) {
        return STG_E_MEDIUMFULL;
    }
}

HRESULT RecordingStream::Other(const char* name) noexcept {
    try {
        calls_.push_back(name);
    } catch (...) {
    }
    return E_NOTIMPL;
}

BitmapStreamInfo ParseBitmapStream(const std::vector<std::uint8_t>& bytes) {
    BitmapStreamInfo info;
    if (bytes.size() < 4) {
        info.problem = "no length";
        return info;
    }
    std::memcpy(&info.length, bytes.data(), 4);
    if (bytes.size() != 4 + static_cast<std::size_t>(info.length)) {
        info.problem = "length " + std::to_string(info.length) + " but " +
                       std::to_string(bytes.size() - 4) + " bytes follow";
        return info;
    }
    if (info.length < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) {
        info.problem = "too short for a BMP file";
        return info;
    }
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER header;
    std::memcpy(&file, bytes.data() + 4, sizeof file);
    std::memcpy(&header, bytes.data() + 4 + sizeof file, sizeof header);
    if (file.bfType != 0x4D42) {
        info.problem = "no BM signature";
        return info;
    }
    if (file.bfSize != info.length) {
        info.problem = "BMP file size " + std::to_string(file.bfSize) + " differs from the length";
        return info;
    }
    if (file.bfOffBits >= info.length) {
        info.problem = "pixel offset beyond the image";
        return info;
    }
    info.width = header.biWidth;
    info.height = header.biHeight;
    info.bits_per_pixel = header.biBitCount;
    info.valid = true;
    return info;
}

}  // namespace kavrel::host
