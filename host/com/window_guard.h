// The host's one policy for an exception in code that the system calls back
// (window and subclass procedures): it never crosses the system's frames. The
// failure is recorded (CallbackFailures, and one line on standard error) and
// the message gets the answer of the default procedure, as if the host had not
// handled it: a failed paint is still validated instead of coming back at
// once, a failed creation still completes, and no message box is put up from
// inside a paint or a mouse message.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace kavrel::host {

struct CallbackFailure {
    UINT message = 0;     // the window message being handled
    std::u16string text;  // the exception's message
};

// The failures recorded in this process, oldest first; only the first
// kKeptCallbackFailures are kept, CallbackFailureCount counts all of them.
inline constexpr std::size_t kKeptCallbackFailures = 64;
std::vector<CallbackFailure> CallbackFailures();
std::size_t CallbackFailureCount() noexcept;
void ClearCallbackFailures() noexcept;

// Records the exception being handled; call it inside a catch block.
void RecordCallbackFailure(UINT message) noexcept;

// DefWindowProcW, or DefSubclassProc for a subclass procedure.
using DefaultProcedure = LRESULT(WINAPI*)(HWND, UINT, WPARAM, LPARAM);

// A procedure's body: body() answers the LRESULT; an exception from it is
// recorded and the message answered by the default procedure.
template <typename Body>
LRESULT GuardedProcedure(DefaultProcedure by_default, HWND window, UINT message, WPARAM wparam,
                         LPARAM lparam, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        RecordCallbackFailure(message);
    }
    return by_default(window, message, wparam, lparam);
}

template <typename Body>
LRESULT GuardedWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                          Body&& body) noexcept {
    return GuardedProcedure(&DefWindowProcW, window, message, wparam, lparam,
                            std::forward<Body>(body));
}

template <typename Body>
LRESULT GuardedSubclassProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                            Body&& body) noexcept {
    return GuardedProcedure(&DefSubclassProc, window, message, wparam, lparam,
                            std::forward<Body>(body));
}

}  // namespace kavrel::host
