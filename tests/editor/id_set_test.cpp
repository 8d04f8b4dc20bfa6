#include "editor/id_set.h"

#include <gtest/gtest.h>

#include <string>

namespace kavrel {
namespace {

// Exact comparison (case counts), and nothing lost when the table grows.
TEST(IdSetTest, EachIdentifierIsNewOnce) {
    IdSet set(2);
    for (const char16_t* id : {u"H001", u"h001", u"H0010", u""}) {
        EXPECT_TRUE(set.Insert(id));
        EXPECT_FALSE(set.Insert(id));
    }
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 10000; ++i) {
            ASSERT_EQ(set.Insert(u"K" +
                                 std::u16string(i / 64 + 1, static_cast<char16_t>(0x400 + i % 64))),
                      round == 0)
                << i;
        }
    }
}

}  // namespace
}  // namespace kavrel
