#include "host/session/modal_watch.h"

#include <algorithm>

#include "host/session/form_driver.h"

namespace kavrel::host {
namespace {

// The watches armed now, innermost last; the timer callback finds its own.
std::vector<ModalWatch*> g_watches;

}  // namespace

ModalWatch::ModalWatch(OnModal on_modal)
    : on_modal_(std::move(on_modal)), before_(ThreadTopWindows()) {
    timer_ = SetTimer(nullptr, 0, 50, OnTimer);
    g_watches.push_back(this);
}

ModalWatch::~ModalWatch() {
    if (!fired_) {
        KillTimer(nullptr, timer_);
    }
    g_watches.erase(std::find(g_watches.begin(), g_watches.end(), this));
}

void CALLBACK ModalWatch::OnTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    try {
        for (ModalWatch* watch : g_watches) {
            if (watch->timer_ == id) {
                watch->Poll();
                return;
            }
        }
    } catch (...) {
        // The timer fires again; a failure inside "then" is kept by the owner.
    }
}

// The first new visible, enabled top-level window of the thread that is a
// message box or whose owner is disabled (a modal form).
HWND ModalWatch::FindModal() const {
    for (HWND window : ThreadTopWindows()) {
        if (std::find(before_.begin(), before_.end(), window) != before_.end() ||
            !IsWindowVisible(window) || !IsWindowEnabled(window)) {
            continue;
        }
        HWND owner = GetWindow(window, GW_OWNER);
        if (IsMessageBoxWindow(window) || (owner && !IsWindowEnabled(owner))) {
            return window;
        }
    }
    return nullptr;
}

void ModalWatch::Poll() {
    if (fired_) {
        return;
    }
    HWND modal = FindModal();
    if (!modal) {
        return;
    }
    KillTimer(nullptr, timer_);
    fired_ = true;
    on_modal_(modal);
}

}  // namespace kavrel::host
