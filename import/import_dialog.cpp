#include "import/import_dialog.h"

#include "base/decimal_separator.h"

#include "import/import_dialog_layout.h"

namespace kavrel {
namespace {

// The controls whose use depends on the import method.
struct MethodControls {
    bool textStyle;
    bool vectorLength;
    bool zoomScale;
    bool verticalDelta;
    bool horizontalDelta;
};

MethodControls ControlsFor(int method) {
    switch (static_cast<ImportMethod>(method)) {
        case ImportMethod::Points:
            return {false, false, false, false, false};
        case ImportMethod::PointsAndLabels:
            return {true, true, true, true, true};
        case ImportMethod::Vector:
            return {false, true, true, false, false};
    }
    // No method picked: everything stays usable.
    return {true, true, true, true, true};
}

}  // namespace

TMainForm::TMainForm() : TM2AddonForm(ImportDialogLayout()) {
    Bind("cbMetod", ui::Event::Change, [this] { cbMetodChange(); });
    Bind("Button2", ui::Event::Click, [this] { Button2Click(); });
}

void TMainForm::OnCreate() {
    // The first method is shown; its enabling waits for the user's pick.
    SetComboIndex("cbMetod", 0);
}

void TMainForm::cbMetodChange() {
    const MethodControls on = ControlsFor(ComboIndex("cbMetod"));
    SetEnabled("cbTExtStyle", on.textStyle);
    SetEnabled("leVectorLength", on.vectorLength);
    SetEnabled("leForZoomScale", on.zoomScale);
    SetEnabled("leVDelta", on.verticalDelta);
    SetEnabled("leHDelta", on.horizontalDelta);
}

void TMainForm::Button2Click() {}

ui::CloseAction TMainForm::OnClose() {
    return FormClose();
}

// Closing destroys the dialog; what was typed into it is gone.
ui::CloseAction TMainForm::FormClose() {
    return ui::CloseAction::Free;
}

}  // namespace kavrel

namespace kavrel {

void OpenImportDialog() {
    // From the first import on, number texts use the decimal comma everywhere.
    UseDecimalComma();
    ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
    form->Show();
    ui::Form::OwnItself(std::move(form));
}

}  // namespace kavrel
