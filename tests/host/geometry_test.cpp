#include "host/model/geometry.h"

#include <gtest/gtest.h>

namespace kavrel::host {
namespace {

const Rect kBox{0, 0, 10, 10};

struct ChainCase {
    const char* label;
    std::vector<Vertex> chain;
    bool closed;
    bool meets;
};

TEST(GeometryTest, ChainMeetsRect) {
    const ChainCase cases[] = {
        {"point inside", {{5, 5, 0}}, false, true},
        {"point on the edge", {{10, 3, 0}}, false, true},
        {"point outside", {{10.001, 3, 0}}, false, false},
        {"segment crossing with both ends outside", {{-5, 5, 0}, {15, 5, 0}}, false, true},
        {"diagonal passing the corner outside", {{9, 12, 0}, {12, 9, 0}}, false, false},
        {"diagonal through the corner region", {{-1, 9, 0}, {9, -1, 0}}, false, true},
        {"vertical segment beside the box", {{-5, -1, 0}, {15, -1, 0}}, false, false},
        {"degenerate segment inside", {{2, 2, 0}, {2, 2, 0}}, false, true},
        {"open chain around the box",
         {{-1, -1, 0}, {-1, 11, 0}, {11, 11, 0}, {11, -1, 0}},
         false,
         false},
        {"closed ring around the box contains it",
         {{-1, -1, 0}, {-1, 11, 0}, {11, 11, 0}, {11, -1, 0}},
         true,
         true},
        {"closing edge crosses the box",
         {{-1, 5, 0}, {-20, 5, 0}, {-20, 6, 0}, {20, 6, 0}},
         false,
         true},
        {"empty chain", {}, true, false},
    };
    for (const ChainCase& c : cases) {
        EXPECT_EQ(ChainMeetsRect(c.chain, kBox, c.closed), c.meets) << c.label;
    }
}

TEST(GeometryTest, BoundsOfVertices) {
    EXPECT_FALSE(BoundsOf(std::vector<Vertex>{}).has_value());
    const auto box = BoundsOf(std::vector<Vertex>{{3, -2, 0}, {-1, 7, 9}, {2, 2, 0}});
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->xmin, -1);
    EXPECT_EQ(box->ymin, -2);
    EXPECT_EQ(box->xmax, 3);
    EXPECT_EQ(box->ymax, 7);
}

}  // namespace
}  // namespace kavrel::host
