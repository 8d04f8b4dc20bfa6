// The host's own windows: the main window, the map window inside it and the
// windows of the docked task panels. Sessions keep them hidden.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/window.h"

namespace kavrel::host {

class HostContext;

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
