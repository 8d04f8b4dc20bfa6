// The base of the add-on's own top-level windows: they belong to the host's
// main window, and the add-on that was current when they were made keeps them
// in its list and destroys them when the host lets it go.
#pragma once

#include <windows.h>

#include "frame/addon_form.h"
#include "ui/form.h"

namespace kavrel {

class TM2CustomAddon;

// A form whose window, whenever it is built, is owned by the host's main
// window; with no host connected the owner given by the caller stays.
class TDllForm : public ui::Form {
  public:
    explicit TDllForm(ui::FormLayout layout);

    // The owner of a window built now: the host's main window while a host is
    // connected, otherwise `requested`.
    static HWND WindowOwner(HWND requested) noexcept;

    // As ui::Form's, with the owner chosen by WindowOwner when the window is
    // built by this call.
    void Show(HWND owner = nullptr);
    int ShowModal(HWND owner = nullptr);
};

// A TDllForm registered with the current add-on for its whole life.
class TM2AddonForm : public TDllForm, public IAddonForm {
  public:
    explicit TM2AddonForm(ui::FormLayout layout);
    ~TM2AddonForm() override;

    // Leaves the add-on's list, then destroys the window; a form that owns
    // itself is deleted with it.
    void Destroy() noexcept override;

    // The add-on this form is registered with, or null.
    TM2CustomAddon* Addon = nullptr;

  private:
    void LeaveAddon() noexcept;
};

}  // namespace kavrel
