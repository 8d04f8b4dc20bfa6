// The six settings that say which map objects are elevation marks. Held as
// UTF-16 text: an identifier with a character outside code page 1251 must
// still compare equal to what the host returns.
#pragma once

#include <string>

namespace kavrel {

struct MarkSettings {
    std::u16string PointStyle;
    std::u16string TextStyle;
    std::u16string RailStyle;
    std::u16string HeightField;
    std::u16string RailTextStyle;
    std::u16string RailLineStyle;

    bool operator==(const MarkSettings&) const = default;
};

// What the panel keeps in the host's preference store.
struct PanelPreferences {
    MarkSettings settings;
    std::u16string RotAngle = u"5";
    std::u16string MinusValue = u"0,1";
    std::u16string PlusValue = u"0,1";
    std::u16string MoveValue = u"0,2";
    bool Rails = false;
};

}  // namespace kavrel
