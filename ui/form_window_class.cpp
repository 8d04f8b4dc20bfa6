#include "ui/form_window_class.h"

#include <commctrl.h>

#include <set>
#include <stdexcept>

#include "base/gdi.h"
#include "base/module.h"
#include "base/utf8.h"
#include "base/wide.h"
#include "ui/layout_math.h"

namespace ui {

using kavrel::Wide;

namespace {
std::set<std::u16string>& RegisteredClasses() {
    static std::set<std::u16string> names;
    return names;
}
}  // namespace

void RegisterFormClass(const std::u16string& typeName, WNDPROC procedure) {
    if (RegisteredClasses().count(typeName) != 0) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = kavrel::CodeModule();
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = Wide(typeName);
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("cannot register the window class " +
                                 kavrel::WideToUtf8(typeName));
    }
    RegisteredClasses().insert(typeName);
}

void UnregisterFormClasses() noexcept {
    auto& names = RegisteredClasses();
    for (auto it = names.begin(); it != names.end();) {
        if (UnregisterClassW(Wide(*it), kavrel::CodeModule())) {
            it = names.erase(it);
        } else {
            ++it;
        }
    }
}

int ScreenDpi() noexcept {
    kavrel::WindowDC screen(nullptr);
    const int dpi = screen.get() ? GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDesignDpi;
}

void InitCommonControlsOnce() {
    static const bool loaded = [] {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC =
            ICC_TREEVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES | ICC_STANDARD_CLASSES;
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    if (!loaded) {
        throw std::runtime_error("the common controls could not be loaded");
    }
}

}  // namespace ui
