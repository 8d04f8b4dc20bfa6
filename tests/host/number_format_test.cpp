#include "host/model/number_format.h"

#include <gtest/gtest.h>

namespace kavrel::host {
namespace {

struct NumberCase {
    const char* label;
    double value;
    char16_t separator;
    std::u16string text;
};

TEST(NumberTextTest, FormatNumber) {
    const NumberCase cases[] = {
        {"integer has no separator", 100, u',', u"100"},
        {"comma", 100.3, u',', u"100,3"},
        {"point", 100.3, u'.', u"100.3"},
        {"shortest round trip, not 17 digits", 0.1 + 0.2, u',', u"0,30000000000000004"},
        {"negative", -12.25, u',', u"-12,25"},
        {"negative zero", -0.0, u',', u"0"},
        {"small fraction stays plain", 0.000125, u'.', u"0.000125"},
        {"large value stays plain", 123456789012.5, u',', u"123456789012,5"},
        {"huge value in exponent form", 1e20, u'.', u"1e+20"},
        {"tiny value in exponent form keeps the separator", 1.5e-9, u',', u"1,5e-09"},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(FormatNumber(c.value, c.separator), c.text) << c.label;
    }
}

}  // namespace
}  // namespace kavrel::host
