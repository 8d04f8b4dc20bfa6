#include "editor/panel_preferences.h"

#include <exception>
#include <functional>

#include "base/com_ptr.h"
#include "base/decimal_separator.h"
#include "base/errors.h"
#include "base/number_text.h"
#include "gis/host_calls.h"

namespace kavrel {
namespace {

constexpr char16_t kRotAngleKey[] = u"kavreleditor_erotang";
constexpr char16_t kMinusValueKey[] = u"kavreleditor_eminval";
constexpr char16_t kPlusValueKey[] = u"kavreleditor_epluval";
constexpr char16_t kMoveValueKey[] = u"kavreleditor_emoveval";
constexpr char16_t kRailsKey[] = u"kavreleditor_relsy";
constexpr char16_t kLabelHeightKey[] = u"kavreleditor_labelheight";

std::u16string Read(IHostApplication* app, std::u16string_view key,
                    std::u16string_view default_value) {
    const ComPtr<IHostPreferences> store = gis::Preferences(app);
    return gis::ReadPreference(store.get(), key, default_value);
}

void Write(IHostApplication* app, std::u16string_view key, std::u16string_view value) {
    const ComPtr<IHostPreferences> store = gis::Preferences(app);
    gis::WritePreference(store.get(), key, value);
}

bool ReadBoolean(const std::u16string& text) {
    if (const auto value = ParseBooleanText(text, LibraryDecimalSeparator())) {
        return *value;
    }
    throw AddonError(u"'" + text + u"' is not a valid boolean value");
}

}  // namespace

void LoadSettings(IHostApplication* app, PanelPreferences& prefs) {
    MarkSettings& s = prefs.settings;
    s.PointStyle = Read(app, kPointStyleKey, u"");
    s.TextStyle = Read(app, kTextStyleKey, u"");
    s.RailStyle = Read(app, kRailStyleKey, u"");
    s.RailTextStyle = Read(app, kRailTextStyleKey, u"");
    s.HeightField = Read(app, kHeightFieldKey, u"");
    s.RailLineStyle = Read(app, kRailLineStyleKey, u"");
    prefs.RotAngle = Read(app, kRotAngleKey, u"5");
    prefs.MinusValue = Read(app, kMinusValueKey, u"0,1");
    prefs.PlusValue = Read(app, kPlusValueKey, u"0,1");
    prefs.MoveValue = Read(app, kMoveValueKey, u"0,2");
    prefs.Rails = ReadBoolean(Read(app, kRailsKey, u"FALSE"));
    s.LabelHeight = Read(app, kLabelHeightKey, u"0,6");
}

void SaveSettings(IHostApplication* app, const PanelPreferences& prefs) {
    const MarkSettings& s = prefs.settings;
    const std::pair<const char16_t*, std::u16string_view> values[] = {
        {kPointStyleKey, s.PointStyle},
        {kTextStyleKey, s.TextStyle},
        {kRailStyleKey, s.RailStyle},
        {kHeightFieldKey, s.HeightField},
        {kRailsKey, prefs.Rails ? u"-1" : u"0"},
        {kRailTextStyleKey, s.RailTextStyle},
        {kRailLineStyleKey, s.RailLineStyle},
        {kRotAngleKey, prefs.RotAngle},
        {kMinusValueKey, prefs.MinusValue},
        {kPlusValueKey, prefs.PlusValue},
        {kMoveValueKey, prefs.MoveValue},
        {kLabelHeightKey, s.LabelHeight},
    };
    std::exception_ptr first_failure;
    for (const auto& [key, value] : values) {
        try {
            Write(app, key, value);
        } catch (...) {
            if (!first_failure) {
                first_failure = std::current_exception();
            }
        }
    }
    if (first_failure) {
        std::rethrow_exception(first_failure);
    }
}

}  // namespace kavrel
