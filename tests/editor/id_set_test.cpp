#include "editor/id_set.h"

#include <gtest/gtest.h>

#include <string>

namespace kavrel {
namespace {

// Identifiers compare by length and characters, case counts; the set grows
// past its first table without losing one.
TEST(IdSetTest, EachIdentifierIsNewOnce) {
    IdSet set(2);
    EXPECT_TRUE(set.Insert(u"H001"));
    EXPECT_FALSE(set.Insert(u"H001"));
    EXPECT_TRUE(set.Insert(u"h001"));
    EXPECT_TRUE(set.Insert(u"H0010"));
    EXPECT_TRUE(set.Insert(u""));
    EXPECT_FALSE(set.Insert(u""));
    for (int i = 0; i < 10000; ++i) {
        ASSERT_TRUE(set.Insert(u"K" + std::u16string(1, static_cast<char16_t>(0x400 + i % 64)) +
                               std::u16string(i / 64 + 1, u'x')))
            << i;
    }
    for (int i = 0; i < 10000; ++i) {
        ASSERT_FALSE(set.Insert(u"K" + std::u16string(1, static_cast<char16_t>(0x400 + i % 64)) +
                                std::u16string(i / 64 + 1, u'x')))
            << i;
    }
    EXPECT_FALSE(set.Insert(u"H001"));
}

}  // namespace
}  // namespace kavrel
