// Loading and storing the editor panel's twelve preference values in the
// host's preference store.
#pragma once

#include <string>

#include "gis/host_api.h"
#include "settings/mark_settings.h"

namespace kavrel {

// What the panel keeps in the host's preference store.
struct PanelPreferences {
    MarkSettings settings;
    std::u16string RotAngle = u"5";
    std::u16string MinusValue = u"0,1";
    std::u16string PlusValue = u"0,1";
    std::u16string MoveValue = u"0,2";
    bool Rails = false;
};

// Reads the keys in order into prefs, fetching the store afresh for each. A
// failure ends the load at that key: the values read before it are in prefs,
// the rest keep what prefs held.
void LoadSettings(IHostApplication* app, PanelPreferences& prefs);

// Writes every key in order. A failing key does not stop the others; the
// first failure is raised once all keys have been tried.
void SaveSettings(IHostApplication* app, const PanelPreferences& prefs);

}  // namespace kavrel
