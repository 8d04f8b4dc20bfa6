#include "host/session/modal_watch.h"

#include <algorithm>

#include "host/session/form_driver.h"

namespace kavrel::host {
namespace {

// The watches armed now, innermost last; the timer callback finds its own.
std::vector<ModalWatch*> g_watches;

bool Contains(const std::vector<HWND>& windows, HWND window) {
    return std::find(windows.begin(), windows.end(), window) != windows.end();
}

// Visible, with its owner disabled: the form's own modal loop still runs.
bool IsModalForm(HWND window) {
    HWND owner = GetWindow(window, GW_OWNER);
    return IsWindow(window) && IsWindowVisible(window) && owner && !IsWindowEnabled(owner);
}

}  // namespace

ModalWatch::ModalWatch(OnModal on_modal)
    : on_modal_(std::move(on_modal)), before_(ThreadTopWindows()) {
    timer_ = SetTimer(nullptr, 0, 50, OnTimer);
    g_watches.push_back(this);
}

ModalWatch::~ModalWatch() {
    KillTimer(nullptr, timer_);
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

// A new visible, enabled top-level window of the thread that is a message
// box or whose owner is disabled (a modal form), not handled yet.
HWND ModalWatch::FindModal() {
    // A window handled and gone may give its handle to a new one.
    std::erase_if(handled_, [](HWND window) { return !IsWindow(window); });
    for (HWND window : ThreadTopWindows()) {
        if (Contains(before_, window) || Contains(handled_, window) || !IsWindowVisible(window) ||
            !IsWindowEnabled(window)) {
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
    // Only the innermost watch acts, and not while its owner is inside a
    // modal window it found.
    if (busy_ || g_watches.back() != this) {
        return;
    }
    CloseFormsStillModal();
    HWND modal = FindModal();
    if (!modal) {
        return;
    }
    const bool first = !fired_;
    fired_ = true;
    handled_.push_back(modal);
    busy_ = true;
    struct Idle {
        bool& busy;
        ~Idle() { busy = false; }
    } idle{busy_};
    if (on_modal_(modal, first)) {
        close_if_modal_.push_back(modal);
    }
}

void ModalWatch::CloseFormsStillModal() {
    for (HWND form : close_if_modal_) {
        if (IsModalForm(form)) {
            PostMessageW(form, WM_CLOSE, 0, 0);
        }
    }
    close_if_modal_.clear();
}

}  // namespace kavrel::host
