// The number-text parser against texts of every shape, not only well-formed
// ones: it must accept exactly the grammar (checked by an independent
// recogniser), give the value strtod reads from the same text written with a
// point, refuse what overflows, and never read out of bounds (the native
// build runs this under AddressSanitizer and UBSan). Time-bounded.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <random>
#include <string>

#include "base/number_text.h"

namespace kavrel {
namespace {

// The grammar, written once more as a small state machine over the text:
// blanks, sign, digits with at most one separator (at least one digit),
// optional exponent with sign and at least one digit, blanks.
bool Recognised(const std::u16string& text, char16_t separator) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == u' ') {
        ++i;
    }
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        ++i;
    }
    int digits = 0;
    int separators = 0;
    for (; i < n; ++i) {
        if (text[i] >= u'0' && text[i] <= u'9') {
            ++digits;
        } else if (text[i] == separator && separators == 0) {
            ++separators;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            ++i;
        }
        int exponent_digits = 0;
        for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
            ++exponent_digits;
        }
        if (exponent_digits == 0) {
            return false;
        }
    }
    while (i < n && text[i] == u' ') {
        ++i;
    }
    return i == n;
}

// The accepted text as strtod reads it in the "C" locale.
std::string PointForm(const std::u16string& text, char16_t separator) {
    std::string out;
    for (char16_t ch : text) {
        if (ch == u' ') {
            continue;
        }
        out.push_back(ch == separator ? '.' : static_cast<char>(ch));
    }
    return out;
}

std::string Printable(const std::u16string& text) {
    std::string out;
    for (char16_t ch : text) {
        if (ch >= 0x20 && ch < 0x7F) {
            out.push_back(static_cast<char>(ch));
        } else {
            out += "\\u" + std::to_string(static_cast<unsigned>(ch));
        }
    }
    return out;
}

// Texts made mostly of the grammar's own pieces, so that most are near misses.
std::u16string RandomText(std::mt19937& rng) {
    static const char16_t* const pieces[] = {
        u"0",      u"1",      u"5",      u"9",      u"00",  u"123456789", u"99999999999999999999",
        u",",      u".",      u"e",      u"E",      u"+",   u"-",         u" ",
        u"e3",     u"e-",     u"e+3",    u"x",      u"nan", u"inf",       u"\t",
        u"\u00A0", u"\u0661", u"\uFF11", u"\u0431", u"0x",  u"e308",      u"e-320",
        u"e99999",
    };
    std::uniform_int_distribution<int> count(0, 12);
    std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
    std::u16string text;
    for (int k = count(rng); k > 0; --k) {
        text += pieces[pick(rng)];
    }
    return text;
}

TEST(NumberTextFuzz, AcceptsExactlyTheGrammarWithStrtodsValues) {
    std::mt19937 rng(1109);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    long tried = 0;
    long accepted = 0;
    long failures = 0;
    while (std::chrono::steady_clock::now() < deadline && failures < 20) {
        for (int batch = 0; batch < 500; ++batch) {
            const std::u16string text = RandomText(rng);
            for (char16_t separator : {u',', u'.'}) {
                ++tried;
                const auto parsed = ParseNumberText(text, separator);
                if (!Recognised(text, separator)) {
                    if (parsed) {
                        ++failures;
                        ADD_FAILURE()
                            << "accepted outside the grammar: \"" << Printable(text) << "\"";
                    }
                    continue;
                }
                const std::string point_form = PointForm(text, separator);
                const double expected = std::strtod(point_form.c_str(), nullptr);
                if (std::isinf(expected)) {
                    if (parsed) {
                        ++failures;
                        ADD_FAILURE() << "overflow accepted: \"" << Printable(text) << "\"";
                    }
                    continue;
                }
                ++accepted;
                if (!parsed || *parsed != expected ||
                    std::signbit(*parsed) != std::signbit(expected)) {
                    ++failures;
                    ADD_FAILURE() << "\"" << Printable(text) << "\" read as "
                                  << (parsed ? std::to_string(*parsed) : std::string("nothing"))
                                  << ", strtod reads " << expected;
                }
            }
        }
    }
    std::cout << "[fuzz] number texts tried: " << tried << ", accepted: " << accepted << std::endl;
    EXPECT_GT(accepted, tried / 50) << "the generator hardly reaches the grammar";
}

// Values at the edges of the double range, where a parser that rounds twice
// or mistakes subnormals for underflow goes wrong.
TEST(NumberTextFuzz, EdgesOfTheDoubleRange) {
    struct Case {
        const char* label;
        const char16_t* text;
    };
    const Case cases[] = {
        {"smallest subnormal", u"4,9406564584124654e-324"},
        {"half the smallest subnormal rounds to zero", u"2,4703282292062327e-324"},
        {"just above half the smallest subnormal", u"2,4703282292062328e-324"},
        {"largest subnormal", u"2,2250738585072009e-308"},
        {"smallest normal", u"2,2250738585072014e-308"},
        {"largest finite", u"1,7976931348623157e308"},
        {"rounds up to infinity", u"1,7976931348623159e308"},
        {"tiny mantissa, huge exponent", u"0,000000001e316"},
        {"huge mantissa, tiny exponent", u"100000000000000000000000000000e-330"},
        {"negative subnormal", u"-1e-310"},
        {"negative underflow", u"-1e-400"},
    };
    for (const Case& c : cases) {
        const std::u16string text = c.text;
        const double expected = std::strtod(PointForm(text, u',').c_str(), nullptr);
        const auto parsed = ParseNumberText(text, u',');
        if (std::isinf(expected)) {
            EXPECT_FALSE(parsed.has_value()) << c.label;
            continue;
        }
        ASSERT_TRUE(parsed.has_value()) << c.label;
        EXPECT_EQ(*parsed, expected) << c.label;
        EXPECT_EQ(std::signbit(*parsed), std::signbit(expected)) << c.label;
    }
}

}  // namespace
}  // namespace kavrel
