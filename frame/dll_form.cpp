#include "frame/dll_form.h"

#include "frame/custom_addon.h"
#include "frame/library_refs.h"

namespace kavrel {

TDllForm::TDllForm(ui::FormLayout layout) : ui::Form(std::move(layout)) {}

HWND TDllForm::WindowOwner(HWND requested) noexcept {
    return HostMainWindow ? HostMainWindow : requested;
}

// The toolkit takes the owner when it builds the window and keeps it after.
void TDllForm::Show(HWND owner) {
    ui::Form::Show(WindowOwner(owner));
}

int TDllForm::ShowModal(HWND owner) {
    return ui::Form::ShowModal(WindowOwner(owner));
}

TM2AddonForm::TM2AddonForm(ui::FormLayout layout)
    : TDllForm(std::move(layout)), Addon(CurrentAddon) {
    if (Addon) {
        Addon->RegisterForm(this);
    }
}

TM2AddonForm::~TM2AddonForm() {
    LeaveAddon();
}

void TM2AddonForm::LeaveAddon() noexcept {
    if (Addon) {
        Addon->UnregisterForm(this);
        Addon = nullptr;
    }
}

void TM2AddonForm::Destroy() noexcept {
    // Out of the list first: the form may be deleted inside the destruction,
    // and a form whose window is gone must not be destroyed a second time.
    LeaveAddon();
    ui::Form::Destroy();
}

}  // namespace kavrel
