#include "host/session/window_picture.h"

#include <utility>

#include "base/gdi.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"
#include "host/session/map_picture.h"

namespace kavrel::host {
namespace {

void PumpPendingMessages(DWORD milliseconds) {
    const DWORD until = GetTickCount() + milliseconds;
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

}  // namespace

void ShowMainWindowForPictures(HostContext& host, int width, int height) {
    HWND main = host.main_window();
    SetWindowPos(main, HWND_TOP, 0, 0, width, height, SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    RedrawWindow(main, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpPendingMessages(300);
}

bool WriteWindowPicture(HWND window, const std::wstring& path) {
    RECT rect;
    if (!IsWindow(window) || !IsWindowVisible(window) || !GetWindowRect(window, &rect)) {
        return false;
    }
    DibCanvas canvas(rect.right - rect.left, rect.bottom - rect.top);
    if (!canvas.valid()) {
        return false;
    }
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    WholeWindowDC source(window);
    if (!source.get() ||
        !BitBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), source.get(), 0, 0, SRCCOPY)) {
        return false;
    }
    return canvas.Save(path);
}

HWND ShownTaskPanelWindow(HostContext& host) {
    for (const TaskPanelObject* panel : host.TaskPanels()) {
        if (IsWindowVisible(panel->window())) {
            return panel->window();
        }
    }
    return nullptr;
}

}  // namespace kavrel::host
