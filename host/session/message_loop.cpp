#include "host/session/message_loop.h"

#include <windows.h>

#include "host/session/session_error.h"

namespace kavrel::host {
namespace {

// More than any add-on's deferred work posts; a window that keeps posting to
// itself would otherwise hold the session forever.
constexpr int kMaxMessages = 100000;

}  // namespace

void DispatchQueuedMessages() {
    MSG message;
    for (int dispatched = 0; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++dispatched) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (dispatched == kMaxMessages) {
            throw StepFailure("the message queue did not empty");
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace kavrel::host
