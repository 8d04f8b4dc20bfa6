#include "editor/mark_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kavrel {
namespace {

constexpr double kEps = 1e-12;

TEST(PresetBaseline, RebuiltMarkAtEachQuarterAngle) {
    // A freshly rebuilt mark: anchor (x, y), label starting at (x + 0.2, y + 0.2).
    const MapPoint anchor{100.0, 200.0};
    const MapPoint label{100.2, 200.2};
    struct Case {
        const char* label;
        double degrees;
        MapPoint start;
        MapPoint end;
    };
    const double l = 0.282842712474619;
    const Case cases[] = {
        {"0 degrees points east", 0, {100.0, 200.0 + l}, {100.0, 200.0 + l + 0.2}},
        {"90 degrees points north", 90, {100.0 + l, 200.0}, {100.0 + l + 0.2, 200.0}},
        {"-90 degrees points south", -90, {100.0 - l, 200.0}, {100.0 - l - 0.2, 200.0}},
    };
    for (const auto& c : cases) {
        const Baseline b = PresetBaseline(anchor, label, DegreesToRadians(c.degrees));
        EXPECT_NEAR(b.start.x, c.start.x, 1e-9) << c.label;
        EXPECT_NEAR(b.start.y, c.start.y, 1e-9) << c.label;
        EXPECT_NEAR(b.end.x, c.end.x, 1e-9) << c.label;
        EXPECT_NEAR(b.end.y, c.end.y, 1e-9) << c.label;
    }
}

TEST(PresetBaseline, LabelOnTheAnchorStaysThereAndPointsAlongTheAngle) {
    const MapPoint anchor{5.0, 7.0};
    const Baseline b = PresetBaseline(anchor, anchor, DegreesToRadians(45));
    EXPECT_DOUBLE_EQ(b.start.x, 5.0);
    EXPECT_DOUBLE_EQ(b.start.y, 7.0);
    EXPECT_NEAR(PointDistance(b.start, b.end), 0.2, kEps);
    EXPECT_NEAR(b.end.x - b.start.x, b.end.y - b.start.y, kEps);
}

TEST(RotateAround, PositiveAngleTurnsClockwiseWithNorthUp) {
    // East of the centre, a quarter turn clockwise ends south of it.
    double x = 0.0;
    double y = 1.0;
    RotateAround(x, y, 0.0, 0.0, DegreesToRadians(90));
    EXPECT_NEAR(x, -1.0, kEps);
    EXPECT_NEAR(y, 0.0, kEps);
}

TEST(RotateAround, ThereAndBackRestoresThePoint) {
    double x = 12.345;
    double y = -6.789;
    RotateAround(x, y, 1.0, 2.0, DegreesToRadians(5));
    RotateAround(x, y, 1.0, 2.0, DegreesToRadians(-5));
    EXPECT_NEAR(x, 12.345, 1e-9);
    EXPECT_NEAR(y, -6.789, 1e-9);
}

TEST(ProjectPointOnSegment, WorkedExampleOnADiagonalRail) {
    const auto p = ProjectPointOnSegment({0, 0}, {10, 10}, {5.5, 4.5});
    ASSERT_TRUE(p.has_value());
    EXPECT_NEAR(p->distance, -std::sqrt(0.5), kEps);
    EXPECT_NEAR(p->foot.x, 5.0, kEps);
    EXPECT_NEAR(p->foot.y, 5.0, kEps);
    EXPECT_TRUE(p->inside);
}

TEST(ProjectPointOnSegment, Table) {
    struct Case {
        const char* label;
        MapPoint a, b, p;
        bool has_projection;
        bool inside;
        double abs_distance;
    };
    const Case cases[] = {
        {"zero-length segment", {3, 3}, {3, 3}, {4, 4}, false, false, 0},
        {"foot beyond the end", {0, 0}, {10, 10}, {11.5, 10.5}, true, false, std::sqrt(0.5)},
        {"foot on an end point", {0, 0}, {10, 10}, {1, -1}, true, false, std::sqrt(2.0)},
        {"segment along x takes a foot", {0, 5}, {10, 5}, {4, 5.5}, true, true, 0.5},
        {"segment along y takes a foot", {2, 0}, {2, 10}, {2.3, 4}, true, true, 0.3},
        {"point on the rail", {0, 0}, {10, 10}, {3, 3}, true, true, 0.0},
    };
    for (const auto& c : cases) {
        const auto p = ProjectPointOnSegment(c.a, c.b, c.p);
        ASSERT_EQ(p.has_value(), c.has_projection) << c.label;
        if (p) {
            EXPECT_EQ(p->inside, c.inside) << c.label;
            EXPECT_NEAR(std::fabs(p->distance), c.abs_distance, 1e-12) << c.label;
        }
    }
}

}  // namespace
}  // namespace kavrel
