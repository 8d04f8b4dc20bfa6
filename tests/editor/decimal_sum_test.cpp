#include "base/decimal_sum.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kavrel {
namespace {

TEST(DecimalSum, RoundsToTheOperandsDecimalPlaces) {
    struct Case {
        const char* label;
        double a;
        double b;
        double expected;
    };
    const Case cases[] = {
        // The binary sums of these are 149,95999999999998 and the like.
        {"150,26 - 0,3", 150.26, -0.3, 149.96},
        {"151,92 - 0,3", 151.92, -0.3, 151.62},
        {"148,79 - 0,3", 148.79, -0.3, 148.49},
        {"1,005 + 0,001", 1.005, 0.001, 1.006},
        {"0,1 + 0,2", 0.1, 0.2, 0.3},
        {"150,06 - 0,1", 150.06, -0.1, 149.96},
        {"1,005 + 0,01", 1.005, 0.01, 1.015},
        {"12 + 0,5", 12, 0.5, 12.5},
        {"100,3 + 0,05", 100.3, 0.05, 100.35},
        {"0,2 - 0,5 goes negative", 0.2, -0.5, -0.3},
        {"step 0 keeps the height", 149.95999999999998, 0, 149.95999999999998},
        {"large integer height", 1e20, 0.5, 1e20 + 0.5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SumAtOperandDecimals(c.a, c.b), c.expected) << c.label;
    }
}

TEST(DecimalSum, MoreThanTwelvePlacesOrNoFiniteSumStayAsTheyAre) {
    const double thirteen = 0.1234567890123;
    EXPECT_EQ(ShortestDecimalPlaces(thirteen), 13);
    EXPECT_EQ(SumAtOperandDecimals(thirteen, 0.1), thirteen + 0.1);
    EXPECT_EQ(SumAtOperandDecimals(150.06, 1e-13), 150.06 + 1e-13);
    // Twelve places are still rounded.
    EXPECT_EQ(SumAtOperandDecimals(0.123456789012, 0.1), 0.223456789012);
    EXPECT_TRUE(std::isinf(SumAtOperandDecimals(1.5e308, 1.5e308)));
}

TEST(DecimalSum, ANoughtIsPositiveAndPlacesComeFromTheShortestText) {
    EXPECT_FALSE(std::signbit(SumAtOperandDecimals(-0.1, 0.1)));
    EXPECT_EQ(ShortestDecimalPlaces(150.06), 2);
    EXPECT_EQ(ShortestDecimalPlaces(-0.05), 2);
    EXPECT_EQ(ShortestDecimalPlaces(12.0), 0);
    EXPECT_EQ(ShortestDecimalPlaces(1250.0), 0);
    EXPECT_EQ(ShortestDecimalPlaces(2.5e-7), 8);
}

}  // namespace
}  // namespace kavrel
