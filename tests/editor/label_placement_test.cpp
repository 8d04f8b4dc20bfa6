// Label placement on small hand-made situations, with labels of "150,26" at a
// label height of 0.6 (a box 2.19 long, 0.72 high, 0.15 of it below the
// baseline), its geometry, and the set of identifiers a click has met.
#include "editor/label_placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "editor/id_set.h"

namespace kavrel {
namespace {

constexpr double kHeight = 0.6;
constexpr double kGap = 0.3;

const LabelSize kSize = EstimateLabelSize(u"150,26", kHeight);

// The eight places, by name, in the order they are tried.
enum Place { kNE, kE, kSE, kS, kSW, kW, kNW, kN };

// A mark at (x, y) with a horizontal label standing at (sx, sy).
MarkLabel Mark(double x, double y, double sx, double sy) {
    return {{x, y}, {sx, sy}, {sx, sy + 0.5}, kSize};
}

// A mark whose label stands at one of its eight places.
MarkLabel MarkAt(double x, double y, Place place) {
    const LabelBox box = PlacesAround({x, y}, kSize, kGap)[place];
    return Mark(x, y, box.origin.x, box.origin.y);
}

struct Expected {
    std::optional<Place> place;  // none: kept where it stood
    bool free = true;
};

TEST(LabelPlacementTest, EachLabelGoesWhereItOverlapsNothing) {
    const struct {
        const char* label;
        std::vector<MarkLabel> marks;
        LabelObstacles obstacles;
        std::vector<Expected> expected;
    } cases[] = {
        {"a free label stays where it stands, even turned",
         {{{0, 0}, {-0.5, 0.4}, {-0.8, 0.8}, kSize}},
         {},
         {{std::nullopt}}},
        {"a label on its own point goes right-above it", {Mark(0, 0, -0.1, -0.2)}, {}, {{kNE}}},
        {"a label three heights from its point comes back to it",
         {Mark(0, 0, 1.8, 0)},
         {},
         {{kNE}}},
        // Equal conflicts: the first selected keeps its place; the second's
        // right-above is taken, and right, level with its point, would touch
        // the first one's bottom.
        {"two labels that collide",
         {MarkAt(0, 0, kNE), Mark(0, 1.0, 0.45, 1.3)},
         {},
         {{std::nullopt}, {kSE}}},
        // The second covers its own point and the first's label: it goes
        // first, right-above, where the first one's label stood in its way.
        {"the label with the most conflicts is placed first",
         {Mark(0, 0, 0.3, 1.6), Mark(0, 3.0, 0.1, 2.6)},
         {},
         {{kNE}, {kNE}}},
        {"a contour line just above the point: right, level with it",
         {Mark(0, 0, 0, 0)},
         {{}, {}, {{{0.5, -5}, {0.5, 5}}}},
         {{kE}}},
        {"a labelled neighbour that is not selected is kept clear of",
         {Mark(0, 0, 0, 0)},
         {{LabelBox::OnBaseline({0.6, 0.2}, {0.6, 1.2}, kSize)}, {}, {}},
         {{kE}}},
        {"the points of other marks are kept clear of",
         {Mark(0, 0, 0, 0)},
         {{}, {{0.6, 1.0}, {0.0, 1.0}}, {}},
         {{kSE}}},
        // Lines on every side: no place is free; left, level with the point,
        // is crossed by one line only.
        {"a crowded corner with no free place",
         {Mark(0, 0, 0, 0)},
         {{},
          {},
          {{{0.5, -5}, {0.5, 5}},
           {{-0.5, -5}, {-0.5, 5}},
           {{-5, 0.5}, {5, 0.5}},
           {{-5, -0.5}, {5, -0.5}},
           {{-5, 1.0}, {5, 1.0}}}},
         {{kW, false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::vector<LabelPlace> places = PlaceLabels(c.marks, c.obstacles, kHeight);
        ASSERT_EQ(places.size(), c.expected.size());
        for (std::size_t m = 0; m < places.size(); ++m) {
            SCOPED_TRACE(m);
            const MarkLabel& mark = c.marks[m];
            EXPECT_EQ(places[m].free, c.expected[m].free);
            if (!c.expected[m].place) {
                EXPECT_FALSE(places[m].moved);
                EXPECT_EQ(places[m].start.x, mark.start.x);
                EXPECT_EQ(places[m].end.y, mark.end.y);
                continue;
            }
            const LabelBox want = PlacesAround(mark.anchor, kSize, kGap)[*c.expected[m].place];
            EXPECT_TRUE(places[m].moved);
            EXPECT_DOUBLE_EQ(places[m].start.x, want.origin.x);
            EXPECT_DOUBLE_EQ(places[m].start.y, want.origin.y);
            // Horizontal, the baseline's length kept.
            EXPECT_DOUBLE_EQ(places[m].end.x, places[m].start.x);
            EXPECT_DOUBLE_EQ(places[m].end.y - places[m].start.y, 0.5);
        }
    }
}

TEST(LabelPlacementTest, PlacesAroundThePointAreClearOfItAndClockwise) {
    const MapPoint anchor{10, 20};
    const auto places = PlacesAround(anchor, kSize, kGap);
    double previous = 0;
    for (std::size_t k = 0; k < places.size(); ++k) {
        SCOPED_TRACE(k);
        const LabelBox& box = places[k];
        EXPECT_FALSE(box.Holds(anchor));
        EXPECT_NEAR(box.DistanceTo(anchor), k % 2 == 0 ? std::hypot(kGap, kGap) : kGap, 1e-9)
            << "corners diagonally, sides straight";
        // The box's centre turns clockwise (north up) from right-above.
        const Bounds e = box.Extent();
        const double bearing = std::atan2((e.ymin + e.ymax) / 2 - anchor.y,
                                          (e.xmin + e.xmax) / 2 - anchor.x);  // from north
        const double turned = std::remainder(bearing - previous, 2 * 3.14159265358979323846);
        if (k > 0) {
            EXPECT_GT(turned, 0.0);
        }
        previous = bearing;
    }
    EXPECT_GT(places[kNE].Extent().xmin, anchor.x);
    EXPECT_GT(places[kNE].Extent().ymin, anchor.y);
}

TEST(LabelBoxTest, InteriorsMeetButEdgesDoNot) {
    const LabelBox east = LabelBox::OnBaseline({0, 0}, {0, 1}, {2.0, 0.5, 0.1});
    const LabelBox north = LabelBox::OnBaseline({-1, 1}, {0, 1}, {2.0, 0.5, 0.1});
    // Reading upwards from (-1, 1): its "up" is west, y from 0.5 to 1.1.
    EXPECT_TRUE(east.Overlaps(north));
    EXPECT_FALSE(east.Overlaps(LabelBox::OnBaseline({0, 2}, {0, 3}, {2.0, 0.5, 0.1})))
        << "end to end";
    EXPECT_FALSE(east.Overlaps(LabelBox::OnBaseline({0.6, 0}, {0.6, 1}, {2.0, 0.5, 0.1})))
        << "one on the other";
    EXPECT_TRUE(east.Holds({0.2, 1.0}));
    EXPECT_FALSE(east.Holds({0.5, 1.0})) << "on the top edge";
    EXPECT_TRUE(east.MetBy({-1, 1.0}, {1, 1.5}));
    EXPECT_FALSE(east.MetBy({-1, 2.5}, {1, 2.5}));
    EXPECT_FALSE(east.MetBy({0.5, -1}, {0.5, 3})) << "along the top edge";
    EXPECT_DOUBLE_EQ(east.DistanceTo({1.5, 1.0}), 1.0);
    EXPECT_DOUBLE_EQ(east.DistanceTo({0.1, 0.1}), 0.0);
}

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
