#include "tests/support/dialog_watcher.h"

#include <algorithm>
#include <stdexcept>

#include "tests/support/window_finder.h"

namespace kavrel::testing {

namespace {

// One watcher per thread: the timer callback finds it here.
thread_local DialogWatcher* current = nullptr;

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
}

std::vector<HWND> ThreadWindows() {
    std::vector<HWND> windows;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The text of a message box: its static control that is not the icon.
std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassNameOf(child) == L"Static" &&
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            std::wstring part = TextOf(child);
            if (!part.empty()) {
                text = part;
            }
        }
    }
    return text;
}

}  // namespace

DialogWatcher::DialogWatcher(int messageBoxAnswer) : answer_(messageBoxAnswer) {
    if (current) {
        throw std::logic_error("one dialog watcher at a time");
    }
    timer_ = SetTimer(nullptr, 0, 20, &DialogWatcher::Tick);
    if (!timer_) {
        throw std::runtime_error("cannot arm the dialog watcher's timer");
    }
    current = this;
}

DialogWatcher::~DialogWatcher() {
    KillTimer(nullptr, timer_);
    current = nullptr;
}

void DialogWatcher::OnWindow(const std::wstring& className, std::function<void(HWND)> action) {
    watches_.push_back({className, std::move(action), {}});
}

void CALLBACK DialogWatcher::Tick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    // Re-entered when an answer opens a further modal window: its loop runs
    // this timer too, and the window it waits on is answered from there.
    if (current) {
        try {
            current->Look();
        } catch (...) {
            // A failing look is retried on the next tick.
        }
    }
}

void DialogWatcher::Look() {
    for (HWND window : ThreadWindows()) {
        if (!IsWindowVisible(window) || !IsWindowEnabled(window)) {
            continue;  // hidden, or covered by a modal window of its own
        }
        const std::wstring className = ClassNameOf(window);
        if (className == L"#32770") {
            SeenMessageBox box;
            box.title = TextOf(window);
            box.text = MessageBoxText(window);
            box.owner = GetWindow(window, GW_OWNER);
            box.ownerEnabled = box.owner && IsWindowEnabled(box.owner);
            if (std::find(answered_.begin(), answered_.end(), window) != answered_.end()) {
                continue;
            }
            answered_.push_back(window);
            boxes_.push_back(box);
            // As the box's button does: the box ends its loop and hides at once.
            SendMessageW(window, WM_COMMAND, MAKEWPARAM(answer_, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(window, answer_)));
            continue;
        }
        for (std::size_t i = 0; i < watches_.size(); ++i) {
            if (watches_[i].className == className &&
                std::find(watches_[i].handled.begin(), watches_[i].handled.end(), window) ==
                    watches_[i].handled.end()) {
                watches_[i].handled.push_back(window);
                auto action = watches_[i].action;
                action(window);
            }
        }
    }
}

}  // namespace kavrel::testing
