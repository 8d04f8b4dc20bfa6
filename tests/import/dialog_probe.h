// Looking at the import dialogs from outside, as the user sees them: found by
// window class, controls by their "kavrel:<name>" property, input sent as
// window messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kavrel::test {

inline constexpr wchar_t kDialogClass[] = L"TMainForm";

// Handles every message waiting for this thread (deferred closes among them).
void PumpMessages();
// The import dialogs of this thread, in creation order.
std::vector<HWND> ImportDialogs();
// A control of a dialog; fails the test when there is none.
HWND Control(HWND dialog, const std::string& name);
// The label of a labelled edit.
HWND EditLabel(HWND dialog, const std::string& name);
// Picks a combo entry the way a user does: the selection, then the notification.
void Choose(HWND dialog, const std::string& combo, int index);
int ComboIndex(HWND dialog, const std::string& combo);
std::vector<std::wstring> ComboItems(HWND dialog, const std::string& combo);
// WM_SETTEXT; for a multi-line edit also the change it notifies when the
// user pastes the text.
void SetText(HWND dialog, const std::string& control, const std::wstring& text);
// BM_CLICK, with the dialog made active as a mouse click would.
void Click(HWND dialog, const std::string& button);
// Asks the dialog to close as its close box does.
void CloseByUser(HWND dialog);

// Records the import dialogs that get WM_DESTROY, in order, while it lives.
class DestroyRecorder {
  public:
    DestroyRecorder();
    ~DestroyRecorder();
    DestroyRecorder(const DestroyRecorder&) = delete;
    DestroyRecorder& operator=(const DestroyRecorder&) = delete;
    const std::vector<HWND>& Destroyed() const { return destroyed_; }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) noexcept;
    HHOOK hook_ = nullptr;
    std::vector<HWND> destroyed_;
};

}  // namespace kavrel::test
