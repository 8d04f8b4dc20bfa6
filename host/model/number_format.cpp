#include "host/model/number_format.h"

#include <charconv>
#include <cmath>

namespace kavrel::host {

std::u16string FormatNumber(double value, char16_t decimal_separator) {
    if (std::isnan(value)) {
        return u"NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? u"-INF" : u"INF";
    }
    if (value == 0.0) {
        return u"0";  // also for -0
    }
    char buffer[64];
    const double magnitude = std::fabs(value);
    // Plain digits for the magnitudes a map deals with; exponent form beyond them.
    const auto format = (magnitude >= 1e-6 && magnitude < 1e15) ? std::chars_format::fixed
                                                                : std::chars_format::scientific;
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    std::u16string out;
    for (const char* p = buffer; p != result.ptr; ++p) {
        out.push_back(*p == '.' ? decimal_separator : static_cast<char16_t>(*p));
    }
    return out;
}

}  // namespace kavrel::host
