#include "base/decimal_sum.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace kavrel {
namespace {

// Beyond this the operands carry more than a written height does, and rounding
// would only move the sum by less than the operands' own precision.
constexpr int kMostDecimalPlaces = 12;

}  // namespace

int ShortestDecimalPlaces(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return 0;
    }
    // Shortest round trip in scientific form: "d.ddde±xx".
    char text[32];
    const auto written =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
    const char* begin = text;
    const char* end = written.ptr;
    const char* e = std::find(begin, end, 'e');
    const char* point = std::find(begin, e, '.');
    const int fraction_digits = point == e ? 0 : static_cast<int>(e - point - 1);
    int exponent = 0;
    const char* digits = e + 1;
    if (digits < end && *digits == '+') {
        ++digits;  // from_chars takes a minus sign only
    }
    std::from_chars(digits, end, exponent);
    return std::max(0, fraction_digits - exponent);
}

double SumAtOperandDecimals(double a, double b) {
    const double sum = a + b;
    const int places = std::max(ShortestDecimalPlaces(a), ShortestDecimalPlaces(b));
    if (!std::isfinite(sum) || places > kMostDecimalPlaces) {
        return sum;
    }
    // Written with `places` decimals (correctly rounded from the binary sum)
    // and read back: the nearest double to that decimal. 309 integer digits
    // at most, the decimals, a sign and a point.
    char text[340];
    const auto written =
        std::to_chars(text, text + sizeof text, sum, std::chars_format::fixed, places);
    double rounded = sum;
    if (written.ec != std::errc() ||
        std::from_chars(text, written.ptr, rounded).ec != std::errc()) {
        return sum;
    }
    // -0,1 + 0,1 is a height of 0, not of "-0".
    return rounded == 0.0 ? 0.0 : rounded;
}

}  // namespace kavrel
