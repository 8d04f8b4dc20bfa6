// Texts of the settings dialog and the style picker that need no window:
// how a style and a height field are shown, and how a style identifier of the
// settings meets the 8-bit identifiers of the host's SDK layer.
// Windows-free, so that the rules are tested natively as well.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "gis/records.h"

namespace kavrel {

// Shown for a style setting that is empty or names no style of the database.
inline constexpr std::u16string_view kNoStyleText = u"стиль не выбран";

// "layer\style", both names as the host gives them.
std::u16string StyleDisplayText(std::u16string_view layer_name, std::u16string_view style_name);

// "table.field", an entry of the height field list.
std::u16string HeightFieldEntry(std::u16string_view table_name, std::u16string_view field_name);

// The 8-bit form of a style setting for the picker. A setting with a character
// that code page 1251 lacks can name no SDK identifier: there is none.
std::optional<std::string> SdkIdentifierText(std::u16string_view setting);

// Whether a node's identifier is exactly the wanted text: same length, same
// characters, case counts. A wanted text longer than an identifier can hold
// never matches (it is not cut to fit).
bool SameIdentifier(const M2Id& id, std::string_view wanted);

}  // namespace kavrel
