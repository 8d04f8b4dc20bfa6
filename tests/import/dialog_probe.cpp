#include "tests/import/dialog_probe.h"

#include <gtest/gtest.h>

#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

DestroyRecorder* g_recorder = nullptr;

BOOL CALLBACK CollectDialog(HWND window, LPARAM list) {
    if (kavrel::testing::ClassNameOf(window) == kDialogClass) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

}  // namespace

void PumpMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<HWND> ImportDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
    // The thread's windows come newest first.
    return {found.rbegin(), found.rend()};
}

HWND Control(HWND dialog, const std::string& name) {
    HWND control = kavrel::testing::FindControl(dialog, name);
    EXPECT_NE(control, nullptr) << "no control " << name;
    return control;
}

HWND EditLabel(HWND dialog, const std::string& name) {
    return Control(dialog, name + ".EditLabel");
}

void Choose(HWND dialog, const std::string& combo, int index) {
    HWND box = Control(dialog, combo);
    SendMessageW(box, CB_SETCURSEL, index, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

int ComboIndex(HWND dialog, const std::string& combo) {
    return static_cast<int>(SendMessageW(Control(dialog, combo), CB_GETCURSEL, 0, 0));
}

std::vector<std::wstring> ComboItems(HWND dialog, const std::string& combo) {
    HWND box = Control(dialog, combo);
    std::vector<std::wstring> items;
    const auto count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0)), L'\0');
        SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        items.push_back(text);
    }
    return items;
}

void SetText(HWND dialog, const std::string& control, const std::wstring& text) {
    HWND edit = Control(dialog, control);
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // A multi-line edit does not notify WM_SETTEXT; the paste this stands for it does.
    if (GetWindowLongW(edit, GWL_STYLE) & ES_MULTILINE) {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(edit), EN_CHANGE),
                     reinterpret_cast<LPARAM>(edit));
    }
}

void Click(HWND dialog, const std::string& button) {
    SetActiveWindow(dialog);
    SendMessageW(Control(dialog, button), BM_CLICK, 0, 0);
}

void CloseByUser(HWND dialog) {
    SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}

DestroyRecorder::DestroyRecorder() {
    g_recorder = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, Hook, nullptr, GetCurrentThreadId());
    EXPECT_NE(hook_, nullptr);
}

DestroyRecorder::~DestroyRecorder() {
    if (hook_) {
        UnhookWindowsHookEx(hook_);
    }
    g_recorder = nullptr;
}

LRESULT CALLBACK DestroyRecorder::Hook(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION && g_recorder) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == WM_DESTROY &&
            kavrel::testing::ClassNameOf(call->hwnd) == kDialogClass) {
            g_recorder->destroyed_.push_back(call->hwnd);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace kavrel::test
