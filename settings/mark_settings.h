// The six settings that say which map objects are elevation marks, and the
// height labels are drawn at. Held as UTF-16 text: an identifier with a
// character outside code page 1251 must still compare equal to what the host
// returns, and the height is stored as the user typed it.
#pragma once

#include <optional>
#include <string>

#include "base/decimal_separator.h"
#include "base/number_text.h"

namespace kavrel {

// Refuses a typed number: followed by the text as typed.
inline constexpr char16_t kBadNumberMessage[] = u"Неверный ввод числа ";

struct MarkSettings {
    std::u16string PointStyle;
    std::u16string TextStyle;
    std::u16string RailStyle;
    std::u16string HeightField;
    std::u16string RailTextStyle;
    std::u16string RailLineStyle;
    // "Высота подписей, м": the character height of the labels in map units,
    // by which label placement estimates their size.
    std::u16string LabelHeight = u"0,6";

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

// The label height as a number: a number text above 0, else nothing.
inline std::optional<double> LabelHeightValue(const MarkSettings& settings) {
    const auto value = ParseNumberText(settings.LabelHeight, LibraryDecimalSeparator());
    if (!value || !(*value > 0.0)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace kavrel
