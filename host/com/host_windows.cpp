#include "host/com/host_windows.h"

#include <stdexcept>

#include "host/com/host_context.h"
#include "host/com/map_painter.h"

namespace kavrel::host {
namespace {

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    try {
        if (message == WM_SIZE) {
            // The map fills the main window; task panels dock on the right.
            if (HWND map = FindWindowExW(window, nullptr, HostWindows::kMapClass, nullptr)) {
                MoveWindow(map, 0, 0, LOWORD(lparam) * 2 / 3, HIWORD(lparam), TRUE);
            }
        }
        return DefWindowProcW(window, message, wparam, lparam);
    } catch (...) {
        return 0;
    }
}

LRESULT CALLBACK MapProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    try {
        if (message == WM_PAINT) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            auto* host = reinterpret_cast<HostContext*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            RECT client;
            GetClientRect(window, &client);
            if (host) {
                PaintMap(host->model(), host->decimal_separator(), dc, client.right, client.bottom);
            }
            EndPaint(window, &paint);
            return 0;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    } catch (...) {
        return 0;
    }
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
    RegisterClassOnce(kTaskPanelClass, DefWindowProcW);
    main_ = WindowHandle(CreateWindowExW(0, kMainClass, L"KAVREL MapHost", WS_OVERLAPPEDWINDOW,
                                         CW_USEDEFAULT, CW_USEDEFAULT, 900, 600, nullptr, nullptr,
                                         GetModuleHandleW(nullptr), nullptr));
    if (!main_.get()) {
        throw std::runtime_error("cannot create the main window");
    }
    map_ = WindowHandle(CreateWindowExW(0, kMapClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 600, 560,
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
    HWND window = CreateWindowExW(0, kTaskPanelClass, reinterpret_cast<LPCWSTR>(caption.c_str()),
                                  WS_CHILD | WS_CLIPCHILDREN | WS_BORDER, 600, 0, 280, 560,
                                  main_.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        return nullptr;
    }
    panels_.emplace_back(window);
    return window;
}

}  // namespace kavrel::host
