// Loading and storing the editor panel's eleven preference values in the
// host's preference store.
#pragma once

#include "addon/host_api.h"
#include "editor/mark_settings.h"

namespace kavrel {

// Reads the keys in order into prefs, fetching the store afresh for each. A
// failure ends the load at that key: the values read before it are in prefs,
// the rest keep what prefs held.
void LoadSettings(IHostApplication* app, PanelPreferences& prefs);

// Writes every key in order. A failing key does not stop the others; the
// first failure is raised once all keys have been tried.
void SaveSettings(IHostApplication* app, const PanelPreferences& prefs);

}  // namespace kavrel
