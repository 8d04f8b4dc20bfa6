// The import dialog "Импорт высотных отметок": it gathers the parameters of an
// import of elevation marks from pasted text. The import itself is not there
// yet, so "Импорт" leaves everything as it is.
#pragma once

#include "frame/dll_form.h"

namespace kavrel {

// The import methods, in the order of the method list.
enum class ImportMethod { Points = 0, PointsAndLabels = 1, Vector = 2 };

class TMainForm final : public TM2AddonForm {
  public:
    TMainForm();

    // Enables the controls the picked method uses.
    void cbMetodChange();
    // "Импорт": does nothing yet.
    void Button2Click();

  protected:
    void OnCreate() override;
    ui::CloseAction OnClose() override;

  private:
    ui::CloseAction FormClose();
};

// Command 1: opens a further, independent import dialog owned by the host's
// main window on every run.
void OpenImportDialog();

}  // namespace kavrel
