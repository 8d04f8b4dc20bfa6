// Number texts typed by the user, stored in preferences or read from the host.
// One grammar for all of them: optional blanks, an optional sign, digits with at
// most one decimal separator, an optional exponent, optional trailing blanks.
// The separator is passed in: it is the library's, never the C library's locale.
// Windows-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavrel {

// The number, or nothing for a bad text. A text whose value overflows to
// infinity is bad too: an infinite coordinate or height would corrupt the map.
std::optional<double> ParseNumberText(std::u16string_view text, char16_t decimal_separator);

// The same grammar with either decimal mark, the comma or the point: for texts
// that come from outside the add-on (survey files, values the host writes).
std::optional<double> ParseNumberTextAnyMark(std::u16string_view text);

// A stored boolean: a number text is true when not zero; otherwise "True" or
// "False" in any case; anything else is nothing.
std::optional<bool> ParseBooleanText(std::u16string_view text, char16_t decimal_separator);

}  // namespace kavrel
