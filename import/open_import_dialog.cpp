// Command 1: a further, independent import dialog on every run.
#include "addon/import_hook.h"
#include "editor/decimal_separator.h"
#include "import/main_form.h"

namespace kavrel {

void OpenImportDialog() {
    // From the first import on, number texts use the decimal comma everywhere.
    UseDecimalComma();
    ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
    form->Show();
    ui::Form::OwnItself(std::move(form));
}

}  // namespace kavrel
