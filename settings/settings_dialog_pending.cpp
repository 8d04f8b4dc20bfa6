// Until the settings dialog is built, choosing the settings offers nothing and
// the panel keeps its own.
#include "settings/settings_dialog.h"

namespace kavrel {

std::optional<MarkSettings> EditMarkSettings(HWND, const MarkSettings&) {
    return std::nullopt;
}

}  // namespace kavrel
