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

// The keys under which the editor panel keeps the six settings in the host's
// preference store (the import reads its defaults from there too).
inline constexpr char16_t kPointStyleKey[] = u"kavreleditor_pstyle";
inline constexpr char16_t kTextStyleKey[] = u"kavreleditor_tstyle";
inline constexpr char16_t kRailStyleKey[] = u"kavreleditor_rstyle";
inline constexpr char16_t kRailTextStyleKey[] = u"kavreleditor_rtstyle";
inline constexpr char16_t kHeightFieldKey[] = u"kavreleditor_tfield";
inline constexpr char16_t kRailLineStyleKey[] = u"kavreleditor_rlstyle";

}  // namespace kavrel
