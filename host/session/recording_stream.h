// The stream the host hands to IHostAddOn.SaveBitmap: an in-memory stream
// that keeps what is written and notes every other operation called on it.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kavrel::host {

class RecordingStream : public IStream {
  public:
    RecordingStream() = default;
    virtual ~RecordingStream() = default;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    const std::vector<std::string>& calls() const { return calls_; }
    LONG references() const { return references_; }

    HRESULT __stdcall QueryInterface(REFIID iid, void** out) override;
    ULONG __stdcall AddRef() override { return static_cast<ULONG>(++references_); }
    // The host owns the stream on its stack; the last Release does not free it.
    ULONG __stdcall Release() override { return static_cast<ULONG>(--references_); }

    HRESULT __stdcall Read(void*, ULONG, ULONG*) override { return Other("Read"); }
    HRESULT __stdcall Write(const void* data, ULONG size, ULONG* written) override;
    HRESULT __stdcall Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override { return Other("Seek"); }
    HRESULT __stdcall SetSize(ULARGE_INTEGER) override { return Other("SetSize"); }
    HRESULT __stdcall CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override {
        return Other("CopyTo");
    }
    HRESULT __stdcall Commit(DWORD) override { return Other("Commit"); }
    HRESULT __stdcall Revert() override { return Other("Revert"); }
    HRESULT __stdcall LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return Other("LockRegion");
    }
    HRESULT __stdcall UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return Other("UnlockRegion");
    }
    HRESULT __stdcall Stat(STATSTG*, DWORD) override { return Other("Stat"); }
    HRESULT __stdcall Clone(IStream**) override { return Other("Clone"); }

  private:
    HRESULT Other(const char* name) noexcept;

    std::vector<std::uint8_t> bytes_;
    std::vector<std::string> calls_;
    LONG references_ = 1;
};

// What a SaveBitmap stream holds: a 32-bit length, then a BMP file image.
struct BitmapStreamInfo {
    bool valid = false;
    std::string problem;
    std::uint32_t length = 0;
    long width = 0;
    long height = 0;
    int bits_per_pixel = 0;
};

BitmapStreamInfo ParseBitmapStream(const std::vector<std::uint8_t>& bytes);

}  // namespace kavrel::host
