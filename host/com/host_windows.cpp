#include "host/com/host_windows.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "base/gdi.h"
#include "host/com/host_context.h"
#include "host/com/map_painter.h"
#include "host/com/window_guard.h"

namespace kavrel::host {
namespace {

// Posted to the main window when a task panel is shown or hidden.
constexpr UINT kRelayout = WM_APP + 1;
// Client width of the docked panel area: the add-on's panels are designed
// 224 pixels wide at 96 dpi.
constexpr int kPanelClientWidth = 232;

int PanelWidth(HWND panel) {
    RECT frame{0, 0, kPanelClientWidth, 100};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(panel, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(panel, GWL_EXSTYLE)));
    return frame.right - frame.left;
}

// The map fills the client area between a toolbar (top) and a status bar
// (bottom), when the window has them; shown task panels dock on the right.
void LayOut(HWND main) {
    RECT client;
    GetClientRect(main, &client);
    int top = 0;
    int bottom = client.bottom;
    HWND map = nullptr;
    std::vector<HWND> panels;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        GetClassNameW(child, name, 64);
        const std::wstring kind = name;
        const bool visible = IsWindowVisible(child) != FALSE;
        RECT rect;
        GetWindowRect(child, &rect);
        if (kind == TOOLBARCLASSNAMEW && visible) {
            SendMessageW(child, TB_AUTOSIZE, 0, 0);
            GetWindowRect(child, &rect);
            top = rect.bottom - rect.top;
        } else if (kind == STATUSCLASSNAMEW && visible) {
            SendMessageW(child, WM_SIZE, 0, 0);
            GetWindowRect(child, &rect);
            bottom = client.bottom - (rect.bottom - rect.top);
        } else if (kind == HostWindows::kMapClass) {
            map = child;
        } else if (kind == HostWindows::kTaskPanelClass && visible) {
            panels.push_back(child);
        }
    }
    int right = client.right;
    for (HWND panel : panels) {
        const int width = PanelWidth(panel);
        right -= width;
        MoveWindow(panel, right, top, width, bottom - top, TRUE);
    }
    if (map) {
        MoveWindow(map, 0, top, std::max(right, 0), std::max(bottom - top, 0), TRUE);
    }
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    return GuardedWindowProc(window, message, wparam, lparam, [&]() -> LRESULT {
        if (message == WM_SIZE || message == kRelayout) {
            LayOut(window);
            if (message == kRelayout) {
                return 0;
            }
        }
        return DefWindowProcW(window, message, wparam, lparam);
    });
}

// A task panel window tells the main window to lay out again when it is
// shown or hidden.
LRESULT CALLBACK TaskPanelProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    return GuardedWindowProc(window, message, wparam, lparam, [&] {
        if (message == WM_SHOWWINDOW) {
            PostMessageW(GetParent(window), kRelayout, 0, 0);
        }
        return DefWindowProcW(window, message, wparam, lparam);
    });
}

LRESULT CALLBACK MapProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    return GuardedWindowProc(window, message, wparam, lparam, [&]() -> LRESULT {
        if (message != WM_PAINT) {
            return DefWindowProcW(window, message, wparam, lparam);
        }
        const PaintingDC dc(window);
        auto* host = reinterpret_cast<HostContext*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        RECT client;
        GetClientRect(window, &client);
        if (host) {
            PaintMap(host->model(), host->decimal_separator(), dc.get(), client.right,
                     client.bottom);
        }
        return 0;
    });
}

void RegisterClassOnce(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &existing)) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc)) {
        throw std::runtime_error("RegisterClassExW failed");
    }
}

}  // namespace

HostWindows::HostWindows(HostContext& host) {
    RegisterClassOnce(kMainClass, MainProc);
    RegisterClassOnce(kMapClass, MapProc);
    RegisterClassOnce(kTaskPanelClass, TaskPanelProc);
    main_ = WindowHandle(CreateWindowExW(
        0, kMainClass, L"KAVREL MapHost", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
        CW_USEDEFAULT, 900, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!main_.get()) {
        throw std::runtime_error("cannot create the main window");
    }
    map_ = WindowHandle(CreateWindowExW(WS_EX_CLIENTEDGE, kMapClass, L"",
                                        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, 600, 560,
                                        main_.get(), nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!map_.get()) {
        throw std::runtime_error("cannot create the map window");
    }
    SetWindowLongPtrW(map_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&host));
}

HostWindows::~HostWindows() {
    panels_.clear();
    map_.reset();
    main_.reset();
}

HWND HostWindows::CreateTaskPanelWindow(const std::u16string& caption) {
    // A docked pane with a small caption bar naming the panel.
    HWND window = CreateWindowExW(
        WS_EX_TOOLWINDOW, kTaskPanelClass, reinterpret_cast<LPCWSTR>(caption.c_str()),
        WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_CAPTION, 600, 0, 280, 560, main_.get(),
        nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        return nullptr;
    }
    panels_.emplace_back(window);
    return window;
}

}  // namespace kavrel::host
