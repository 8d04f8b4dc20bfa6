#include "base/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "base/utf8.h"
#include "base/x87_precision.h"

namespace kavrel {
namespace {

struct NumberCase {
    const char* label;
    const char16_t* text;
    char16_t separator;
    bool valid;
    double value;
};

TEST(NumberText, GrammarTable) {
    const NumberCase cases[] = {
        {"integer", u"5", u',', true, 5.0},
        {"comma decimal", u"0,1", u',', true, 0.1},
        {"point decimal", u"0.1", u'.', true, 0.1},
        {"point refused under comma", u"0.1", u',', false, 0},
        {"comma refused under point", u"0,1", u'.', false, 0},
        {"leading plus", u"+0,5", u',', true, 0.5},
        {"leading minus", u"-0,05", u',', true, -0.05},
        {"blanks around", u"  12,5  ", u',', true, 12.5},
        {"exponent", u"1,5E2", u',', true, 150.0},
        {"exponent lower case with sign", u"25e-1", u',', true, 2.5},
        {"separator without fraction", u"5,", u',', true, 5.0},
        {"separator without integer", u",5", u',', true, 0.5},
        {"empty", u"", u',', false, 0},
        {"blanks only", u"   ", u',', false, 0},
        {"sign only", u"-", u',', false, 0},
        {"separator only", u",", u',', false, 0},
        {"two separators", u"1,2,3", u',', false, 0},
        {"thousands separator", u"1 000", u',', false, 0},
        {"exponent without digits", u"1e", u',', false, 0},
        {"exponent sign without digits", u"1e+", u',', false, 0},
        {"hexadecimal", u"0x10", u',', false, 0},
        {"nan", u"nan", u',', false, 0},
        {"inf", u"inf", u',', false, 0},
        {"infinity word", u"Infinity", u',', false, 0},
        {"overflow", u"1e999", u',', false, 0},
        {"negative overflow", u"-1e999", u',', false, 0},
        {"overflow by digits", u"9999999999e400", u',', false, 0},
        {"underflow is zero", u"1e-999", u',', true, 0.0},
        {"small fraction underflow", u"0,0001e-400", u',', true, 0.0},
        {"double sign", u"+-1", u',', false, 0},
        {"inner blank", u"1 ,5", u',', false, 0},
        {"tab is no blank", u"\t1", u',', false, 0},
        {"fullwidth digit", u"\uFF11", u',', false, 0},
        {"trailing letter", u"12a", u',', false, 0},
        {"largest finite", u"1,7976931348623157e308", u',', true, 1.7976931348623157e308},
    };
    for (const auto& c : cases) {
        const auto parsed = ParseNumberText(c.text, c.separator);
        EXPECT_EQ(parsed.has_value(), c.valid) << c.label;
        if (parsed && c.valid) {
            EXPECT_EQ(*parsed, c.value) << c.label;
        }
    }
}

TEST(NumberText, VeryLongTextsAreHandled) {
    std::u16string digits(5000, u'9');
    EXPECT_FALSE(ParseNumberText(digits, u',').has_value()) << "overflows";
    std::u16string fraction = u"0," + std::u16string(5000, u'0') + u"1";
    const auto tiny = ParseNumberText(fraction, u',');
    ASSERT_TRUE(tiny.has_value());
    EXPECT_EQ(*tiny, 0.0);
    std::u16string garbage(10000, u'x');
    EXPECT_FALSE(ParseNumberText(garbage, u',').has_value());
}

// Property: for texts the grammar accepts, the value is the correctly rounded
// one, the same as the C library's strtod reads from the point form.
TEST(NumberText, AgreesWithStrtodOnRandomTexts) {
    std::mt19937 rng(20261208);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> length(1, 18);
    std::uniform_int_distribution<int> exponent(-300, 300);
    for (int n = 0; n < 20000; ++n) {
        std::string point_form;
        if (rng() % 2) {
            point_form.push_back('-');
        }
        const int int_digits = length(rng);
        for (int k = 0; k < int_digits; ++k) {
            point_form.push_back(static_cast<char>('0' + digit(rng)));
        }
        if (rng() % 2) {
            point_form.push_back('.');
            const int frac_digits = length(rng);
            for (int k = 0; k < frac_digits; ++k) {
                point_form.push_back(static_cast<char>('0' + digit(rng)));
            }
        }
        if (rng() % 2) {
            point_form.push_back('e');
            point_form += std::to_string(exponent(rng));
        }
        std::string comma_form = point_form;
        for (char& ch : comma_form) {
            if (ch == '.') {
                ch = ',';
            }
        }
        const double expected = std::strtod(point_form.c_str(), nullptr);
        const auto parsed = ParseNumberText(Utf8ToWide(comma_form), u',');
        if (std::isinf(expected)) {
            EXPECT_FALSE(parsed.has_value()) << point_form;
        } else {
            ASSERT_TRUE(parsed.has_value()) << point_form;
            EXPECT_EQ(*parsed, expected) << point_form;
        }
    }
}

// Digits times a power of ten whose product needs more than 53 bits: the
// 32-bit C++ library multiplies them on the x87, which at 64-bit precision
// rounds twice. Each text reads as the correctly rounded double at either
// precision, as in the 64-bit build.
TEST(NumberText, DigitsTimesAPowerOfTenAreRoundedOnceAtEitherX87Precision) {
    const struct {
        const char16_t* text;
        double value;
    } cases[] = {
        {u"10375e22", 0x1.5747ab143e353p+86},
        {u"43683e21", 0x1.2111e16678569p+85},
        {u"24441E22", 0x1.9457a94c3742dp+87},
        {u"-36999e+22", -0x1.320c6e170365bp+88},
    };
    for (const X87Precision::Bits bits : {X87Precision::k53, X87Precision::k64}) {
        const X87Precision precision(bits);
        for (const auto& c : cases) {
            EXPECT_EQ(ParseNumberText(c.text, u','), c.value)
                << WideToUtf8(c.text) << " at " << (bits == X87Precision::k53 ? 53 : 64) << " bits";
        }
    }
}

TEST(BooleanText, Table) {
    struct Case {
        const char* label;
        const char16_t* text;
        std::optional<bool> expected;
    };
    const Case cases[] = {
        {"minus one", u"-1", true},
        {"two", u"2", true},
        {"zero", u"0", false},
        {"zero with fraction", u"0,0", false},
        {"True", u"True", true},
        {"TRUE", u"TRUE", true},
        {"tRuE", u"tRuE", true},
        {"FALSE default", u"FALSE", false},
        {"false", u"false", false},
        {"abc", u"abc", std::nullopt},
        {"empty", u"", std::nullopt},
        {"yes", u"yes", std::nullopt},
        {"true with blank", u"true ", std::nullopt},
        {"overflowing number", u"1e999", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseBooleanText(c.text, u','), c.expected) << c.label;
    }
}

}  // namespace
}  // namespace kavrel
