// How styles and height fields are shown, and how a style setting meets the
// SDK's 8-bit identifiers.
#include <gtest/gtest.h>

#include "base/short_string.h"
#include "settings/style_texts.h"

namespace {

using kavrel::M2Id;

M2Id MakeId(std::string_view bytes) {
    M2Id id{};
    kavrel::StoreShortString(id, bytes);
    return id;
}

TEST(StyleTexts, JoinNamesAsShown) {
    EXPECT_EQ(kavrel::StyleDisplayText(u"Рельеф", u"Отметка"), u"Рельеф\\Отметка");
    EXPECT_EQ(kavrel::StyleDisplayText(u"", u""), u"\\");
    EXPECT_EQ(kavrel::HeightFieldEntry(u"A", u"H"), u"A.H");
    EXPECT_EQ(kavrel::HeightFieldEntry(u"Табл.1", u"Высота"), u"Табл.1.Высота");
}

TEST(StyleTexts, SettingsBecomeSdkIdentifiersOnlyWhenCodePage1251SpellsThem) {
    struct Case {
        const char* label;
        std::u16string setting;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"latin", u"S_PT", std::string("S_PT")},
        {"cyrillic", u"Рел", std::string("\xD0\xE5\xEB")},
        {"empty", u"", std::string()},
        {"a character 1251 lacks", u"S\u0100", std::nullopt},
        {"an emoji", u"S\U0001F600", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kavrel::SdkIdentifierText(c.setting), c.expected) << c.label;
    }
}

TEST(StyleTexts, IdentifiersMatchExactly) {
    struct Case {
        const char* label;
        std::string id;
        std::string wanted;
        bool same;
    };
    const Case cases[] = {
        {"equal", "S_TXT", "S_TXT", true},
        {"case counts", "S_TXT", "s_txt", false},
        {"prefix", "S_TXT", "S_TX", false},
        {"longer", "S_TXT", "S_TXT1", false},
        {"full 15 characters", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO", true},
        {"wanted longer than an identifier holds", "ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNOP", false},
        {"empty identifier and empty text", "", "", true},
        {"8-bit characters", "\xD0\xE5\xEB", "\xD0\xE5\xEB", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(kavrel::SameIdentifier(MakeId(c.id), c.wanted), c.same) << c.label;
    }
}

TEST(StyleTexts, ALengthByteBeyondTheCapacityReadsNoFurtherThanTheIdentifier) {
    M2Id id = MakeId("ABCDEFGHIJKLMNO");
    id.bytes[0] = 200;  // a host's corrupt record
    EXPECT_TRUE(kavrel::SameIdentifier(id, "ABCDEFGHIJKLMNO"));
    EXPECT_FALSE(kavrel::SameIdentifier(id, std::string(200, 'A')));
}

}  // namespace
