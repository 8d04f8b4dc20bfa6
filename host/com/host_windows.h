// The host's own windows: the main window, the map window inside it and the
// windows of the docked task panels. Sessions keep them hidden.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace kavrel::host {

class HostContext;

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

class HostWindows {
  public:
    explicit HostWindows(HostContext& host);
    ~HostWindows();
    HostWindows(const HostWindows&) = delete;
    HostWindows& operator=(const HostWindows&) = delete;

    HWND main() const { return main_.get(); }
    HWND map() const { return map_.get(); }
    // A new panel window, a child of the main window, hidden until shown.
    HWND CreateTaskPanelWindow(const std::u16string& caption);

    static constexpr const wchar_t* kMainClass = L"KavrelMapHostMain";
    static constexpr const wchar_t* kMapClass = L"KavrelMapHostMap";
    static constexpr const wchar_t* kTaskPanelClass = L"KavrelMapHostTaskPanel";

  private:
    std::vector<WindowHandle> panels_;  // destroyed before the main window
    WindowHandle map_;
    WindowHandle main_;
};

}  // namespace kavrel::host
