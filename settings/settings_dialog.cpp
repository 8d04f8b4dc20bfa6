#include "settings/settings_dialog.h"

#include "settings/kavrel_setup.h"

namespace kavrel {

std::optional<MarkSettings> EditMarkSettings(HWND owner, const MarkSettings& current) {
    const ui::FormPtr<TfKavrelSetup> dialog = ui::MakeForm<TfKavrelSetup>(current);
    if (dialog->ShowModal(owner) != ui::kModalOk) {
        return std::nullopt;
    }
    return dialog->Settings();
}

}  // namespace kavrel
