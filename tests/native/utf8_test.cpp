#include "base/utf8.h"

#include <gtest/gtest.h>

namespace kavrel {
namespace {

TEST(Utf8, RoundTripsCyrillicAndAstralCharacters) {
    const std::u16string text = u"Высота 100,3 \U0001F600 °";
    EXPECT_EQ(Utf8ToWide(WideToUtf8(text)), text);
    EXPECT_EQ(WideToUtf8(u"Ж"), "\xD0\x96");
}

TEST(Utf8, InvalidSequencesBecomeReplacementCharacters) {
    struct Case {
        const char* label;
        std::string input;
        std::u16string expected;
    };
    const Case cases[] = {
        {"lone continuation byte", "a\x80z", u"a\uFFFDz"},
        {"truncated sequence at end", "a\xD0", u"a\uFFFD"},
        {"overlong encoding", "\xC0\xAF", u"\uFFFD\uFFFD"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.input), c.expected) << c.label;
    }
}

TEST(Utf8, LoneSurrogateIsNotEmittedRaw) {
    const std::u16string lone(1, static_cast<char16_t>(0xD800));
    EXPECT_EQ(WideToUtf8(lone), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace kavrel
