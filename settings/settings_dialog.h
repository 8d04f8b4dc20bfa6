// The editor's entry into the settings dialog.
#pragma once

#include <windows.h>

#include <optional>

#include "editor/mark_settings.h"

namespace kavrel {

// Shows the settings dialog modally, owned by `owner`, with the six settings.
// Confirmed with OK: all six as the dialog holds them; otherwise nothing.
std::optional<MarkSettings> EditMarkSettings(HWND owner, const MarkSettings& current);

}  // namespace kavrel
