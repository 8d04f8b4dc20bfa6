// Owner of one kernel object handle: a process, a thread, a file, a section.
#pragma once

#include <windows.h>

#include <utility>

namespace kavrel {

class KernelHandle {
  public:
    constexpr KernelHandle() noexcept = default;
    // CreateFile answers INVALID_HANDLE_VALUE where the others answer null;
    // both are held as no handle.
    explicit KernelHandle(HANDLE handle) noexcept
        : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;
    KernelHandle(KernelHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    KernelHandle& operator=(KernelHandle&& other) noexcept {
        if (this != &other) {
            reset();
            handle_ = std::exchange(other.handle_, nullptr);
        }
        return *this;
    }
    ~KernelHandle() { reset(); }

    void reset() noexcept {
        if (HANDLE handle = std::exchange(handle_, nullptr)) {
            CloseHandle(handle);
        }
    }
    HANDLE get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != nullptr; }

  private:
    HANDLE handle_ = nullptr;
};

}  // namespace kavrel
