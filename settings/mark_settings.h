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

}  // namespace kavrel
