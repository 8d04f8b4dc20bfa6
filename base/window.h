// Owner of a window handle.
#pragma once

#include <windows.h>

#include <utility>

namespace kavrel {

// Owner of one window: DestroyWindow on release.
class WindowHandle {
  public:
    WindowHandle() noexcept = default;
    explicit WindowHandle(HWND window) noexcept : window_(window) {}
    WindowHandle(const WindowHandle&) = delete;
    WindowHandle& operator=(const WindowHandle&) = delete;
    WindowHandle(WindowHandle&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
    WindowHandle& operator=(WindowHandle&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
        }
        return *this;
    }
    ~WindowHandle() { reset(); }
    void reset() noexcept {
        if (HWND window = std::exchange(window_, nullptr)) {
            if (IsWindow(window)) {
                DestroyWindow(window);
            }
        }
    }
    HWND get() const noexcept { return window_; }

  private:
    HWND window_ = nullptr;
};

}  // namespace kavrel
