// The window "Результат импорта": what the last import of a dialog did, a
// summary line and one line per row not used or used only in part, in a
// read-only text the user can select and copy. Modeless, owned by its import
// dialog, which keeps it and destroys it with itself.
#pragma once

#include <string_view>

#include "ui/form.h"

class TfImportResult final : public ui::Form {
  public:
    TfImportResult();

    // Shows the text, beside the dialog that owns the window.
    void ShowResult(HWND dialog, std::u16string_view text);

  protected:
    void OnCreate() override;
    // Closing hides the window; the dialog shows it again after its next import.
    ui::CloseAction OnClose() override;
};
