#include "base/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "base/x87_precision.h"

namespace kavrel {
namespace {

bool IsDigit(char16_t ch) {
    return ch >= u'0' && ch <= u'9';
}

bool EqualsIgnoringAsciiCase(std::u16string_view text, std::u16string_view word) {
    if (text.size() != word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t a = text[i];
        char16_t b = word[i];
        if (a >= u'A' && a <= u'Z') {
            a = static_cast<char16_t>(a - u'A' + u'a');
        }
        if (b >= u'A' && b <= u'Z') {
            b = static_cast<char16_t>(b - u'A' + u'a');
        }
        if (a != b) {
            return false;
        }
    }
    return true;
}

// For a canonical number text whose value is out of range: the power of ten of
// its leading significant digit plus one (positive for overflow, not for
// underflow).
long DecimalMagnitude(const std::string& canonical) {
    const std::size_t e = canonical.find('e');
    const std::string mantissa = canonical.substr(0, e);
    long exponent = 0;
    if (e != std::string::npos) {
        // The exponent's digits may be many; clamp while reading.
        const std::string digits = canonical.substr(e + 1);
        bool negative = false;
        for (char ch : digits) {
            if (ch == '-') {
                negative = true;
            } else if (ch >= '0' && ch <= '9' && exponent < 100000000) {
                exponent = exponent * 10 + (ch - '0');
            }
        }
        if (negative) {
            exponent = -exponent;
        }
    }
    const std::size_t point = mantissa.find('.');
    const std::string integer = mantissa.substr(0, point);
    long significant_integer_digits = 0;
    bool leading = true;
    for (char ch : integer) {
        if (ch >= '1' && ch <= '9') {
            leading = false;
        }
        if (!leading && ch >= '0' && ch <= '9') {
            ++significant_integer_digits;
        }
    }
    if (significant_integer_digits > 0) {
        return significant_integer_digits + exponent;
    }
    long zeros_after_point = 0;
    if (point != std::string::npos) {
        for (std::size_t k = point + 1; k < mantissa.size() && mantissa[k] == '0'; ++k) {
            ++zeros_after_point;
        }
    }
    return exponent - zeros_after_point;
}

}  // namespace

std::optional<double> ParseNumberText(std::u16string_view text, char16_t decimal_separator) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == u' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == u' ') {
        --end;
    }

    // Rewrite the accepted text in the form std::from_chars reads: ASCII, a
    // point as separator, no leading '+'.
    std::string canonical;
    canonical.reserve(end - begin);
    std::size_t i = begin;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-') {
            canonical.push_back('-');
        }
        ++i;
    }
    std::size_t mantissa_digits = 0;
    bool separator_seen = false;
    for (; i < end; ++i) {
        const char16_t ch = text[i];
        if (IsDigit(ch)) {
            canonical.push_back(static_cast<char>(ch));
            ++mantissa_digits;
        } else if (ch == decimal_separator && !separator_seen) {
            canonical.push_back('.');
            separator_seen = true;
        } else {
            break;
        }
    }
    if (mantissa_digits == 0) {
        return std::nullopt;
    }
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        canonical.push_back('e');
        ++i;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            canonical.push_back(static_cast<char>(text[i]));
            ++i;
        }
        std::size_t exponent_digits = 0;
        for (; i < end && IsDigit(text[i]); ++i) {
            canonical.push_back(static_cast<char>(text[i]));
            ++exponent_digits;
        }
        if (exponent_digits == 0) {
            return std::nullopt;
        }
    }
    if (i != end) {
        return std::nullopt;
    }

    double value = 0.0;
    const char* first = canonical.data();
    const char* last = first + canonical.size();
    // Rounded once, as in the 64-bit build, whatever precision the host set.
    const X87Precision double_precision(X87Precision::k53);
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ptr != last) {
        return std::nullopt;
    }
    if (ec == std::errc::result_out_of_range) {
        // Too large is refused; too small is a zero.
        if (DecimalMagnitude(canonical) > 0) {
            return std::nullopt;
        }
        return canonical[0] == '-' ? -0.0 : 0.0;
    }
    if (ec != std::errc() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseNumberTextAnyMark(std::u16string_view text) {
    if (const auto comma = ParseNumberText(text, u',')) {
        return comma;
    }
    return ParseNumberText(text, u'.');
}

std::optional<bool> ParseBooleanText(std::u16string_view text, char16_t decimal_separator) {
    if (const auto number = ParseNumberText(text, decimal_separator)) {
        return *number != 0.0;
    }
    if (EqualsIgnoringAsciiCase(text, u"true")) {
        return true;
    }
    if (EqualsIgnoringAsciiCase(text, u"false")) {
        return false;
    }
    return std::nullopt;
}

}  // namespace kavrel
