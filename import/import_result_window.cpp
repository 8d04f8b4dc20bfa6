#include "import/import_result_window.h"

#include "import/import_dialog_layout.h"

namespace {

// Down and to the right of the dialog's corner, so that both can be seen.
constexpr int kOffsetFromDialog = 40;

}  // namespace

TfImportResult::TfImportResult() : ui::Form(kavrel::ImportResultLayout()) {}

void TfImportResult::OnCreate() {
    // A report of 100,000 rows is longer than an edit holds by default.
    SendMessageW(Control("mResult"), EM_SETLIMITTEXT, 0, 0);
}

void TfImportResult::ShowResult(HWND dialog, std::u16string_view text) {
    const bool first = Handle() == nullptr;
    Show(dialog);
    SetText("mResult", text);
    if (first) {
        RECT owner{};
        GetWindowRect(dialog, &owner);
        SetWindowPos(Handle(), nullptr, owner.left + kOffsetFromDialog,
                     owner.top + kOffsetFromDialog, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

ui::CloseAction TfImportResult::OnClose() {
    return ui::CloseAction::Hide;
}
