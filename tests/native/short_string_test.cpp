#include "base/short_string.h"

#include <gtest/gtest.h>

#include <cstring>

namespace kavrel {
namespace {

TEST(Cp1251, CyrillicRoundTripsThroughEveryByte) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    const std::u16string wide = Cp1251ToWide(all);
    ASSERT_EQ(wide.size(), all.size());
    EXPECT_EQ(WideToCp1251(wide), all);
}

TEST(Cp1251, KnownCharacters) {
    EXPECT_EQ(WideToCp1251(u"Отметки"), "\xCE\xF2\xEC\xE5\xF2\xEA\xE8");
    EXPECT_EQ(WideToCp1251(u"Ёё№"), "\xA8\xB8\xB9");
    EXPECT_EQ(Cp1251ToWide("\x88"), u"€");
}

TEST(Cp1251, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(WideToCp1251(u"a\u4E2Db"), "a?b");
    EXPECT_FALSE(FitsCp1251(u"Ж\u00DF"));
    EXPECT_TRUE(FitsCp1251(u"Ж№"));
}

TEST(ShortStringField, StoresLengthCharactersAndZeroPadding) {
    ShortString<31> field;
    std::memset(field.bytes, 0xAA, sizeof field.bytes);
    StoreShortString(field, std::u16string_view(u"KAVREL"));
    EXPECT_EQ(field.bytes[0], 6);
    EXPECT_EQ(std::memcmp(field.bytes + 1, "KAVREL", 6), 0);
    for (std::size_t i = 7; i < sizeof field.bytes; ++i) {
        EXPECT_EQ(field.bytes[i], 0) << "byte " << i;
    }
    EXPECT_EQ(ReadShortString(field), "KAVREL");
}

TEST(ShortStringField, LongerTextIsCutToCapacity) {
    ShortString<15> field;
    StoreShortString(field, std::string_view("0123456789ABCDEFGHIJ"));
    EXPECT_EQ(field.bytes[0], 15);
    EXPECT_EQ(ReadShortString(field), "0123456789ABCDE");
}

TEST(ShortStringField, ReadClampsALengthByteBeyondCapacity) {
    ShortString<3> field;
    field.bytes[0] = 200;
    field.bytes[1] = 'a';
    field.bytes[2] = 'b';
    field.bytes[3] = 'c';
    EXPECT_EQ(ReadShortString(field), "abc");
}

TEST(ShortStringField, EmptyTextIsAllZero) {
    ShortString<63> field;
    std::memset(field.bytes, 0x55, sizeof field.bytes);
    StoreShortString(field, std::u16string_view());
    for (unsigned char b : field.bytes) {
        EXPECT_EQ(b, 0);
    }
}

}  // namespace
}  // namespace kavrel
