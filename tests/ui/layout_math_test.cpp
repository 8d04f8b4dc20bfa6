#include "ui/layout_math.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using ui::Rect;
using ui::Size;

struct ScaleCase {
    const char* label;
    int value;
    int dpi;
    int expected;
};

TEST(ScaleToDpi, ValuesFollowTheScreenRoundingHalfAwayFromZero) {
    const ScaleCase cases[] = {
        {"design resolution keeps the value", 57, 96, 57},
        {"design resolution keeps a negative font height", -11, 96, -11},
        {"125 percent", 41, 120, 51},                                      // 51.25
        {"125 percent, half rounds up", 2, 120, 3},                        // 2.5
        {"150 percent", 57, 144, 86},                                      // 85.5
        {"150 percent font height rounds away from zero", -11, 144, -17},  // -16.5
        {"200 percent", 224, 192, 448},
        {"below design", 13, 72, 10},  // 9.75
        {"zero stays zero", 0, 144, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::ScaleToDpi(c.value, c.dpi), c.expected) << c.label;
    }
}

TEST(ScaleToDpi, RectanglesScaleTheirEdgesSoNeighboursStillTouch) {
    struct Case {
        const char* label;
        Rect rect;
        int dpi;
        Rect expected;
    };
    const Case cases[] = {
        {"design resolution is exact", {8, 8, 57, 41}, 96, {8, 8, 57, 41}},
        {"150 percent, edges 12..98 and 12..74", {8, 8, 57, 41}, 144, {12, 12, 86, 62}},
        {"right neighbour starts where the left one ends", {65, 8, 3, 41}, 144, {98, 12, 4, 62}},
        {"125 percent", {145, 460, 75, 25}, 120, {181, 575, 94, 31}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::ScaleToDpi(c.rect, c.dpi), c.expected) << c.label;
    }
    EXPECT_EQ(ui::ScaleToDpi(Size{224, 492}, 144), (Size{336, 738}));
}

TEST(AnchoredRect, ControlsKeepTheirDistancesToTheAnchoredEdges) {
    const Size designed{224, 492};
    const Rect button{145, 460, 75, 25};
    struct Case {
        const char* label;
        ui::Anchors anchors;
        Size actual;
        Rect expected;
    };
    const Case cases[] = {
        {"left top stays", ui::kAnchorsDefault, {300, 600}, button},
        {"right bottom moves with both edges",
         ui::kAnchorRight | ui::kAnchorBottom,
         {300, 600},
         {221, 568, 75, 25}},
        {"right bottom moves back when smaller",
         ui::kAnchorRight | ui::kAnchorBottom,
         {200, 400},
         {121, 368, 75, 25}},
        {"left and right stretch",
         ui::kAnchorLeft | ui::kAnchorRight | ui::kAnchorTop,
         {300, 600},
         {145, 460, 151, 25}},
        {"all four stretch both ways", 15, {300, 600}, {145, 460, 151, 133}},
        {"stretch never goes below zero",
         ui::kAnchorLeft | ui::kAnchorRight | ui::kAnchorTop,
         {100, 492},
         {145, 460, 0, 25}},
        {"no horizontal anchor keeps the middle", ui::kAnchorTop, {324, 492}, {195, 460, 75, 25}},
        {"same size changes nothing", ui::kAnchorRight | ui::kAnchorBottom, designed, button},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ui::AnchoredRect(button, c.anchors, designed, c.actual), c.expected) << c.label;
    }
}

TEST(TabSequence, OrdersByPositionAndLeavesOutControlsWithout) {
    const std::vector<ui::TabEntry> entries = {
        {"sb90", -1},   {"Button2", 4}, {"Button1", 0}, {"eRotAngle", 5},
        {"Label1", -1}, {"ePlusV", 1},  {"eMinusV", 2}, {"eMoveValue", 3},
    };
    EXPECT_EQ(ui::TabSequence(entries),
              (std::vector<std::string>{"Button1", "ePlusV", "eMinusV", "eMoveValue", "Button2",
                                        "eRotAngle"}));
    EXPECT_TRUE(ui::TabSequence({{"Label1", -1}}).empty());
}

TEST(TabSequence, RefusesTwoControlsAtOnePosition) {
    try {
        ui::TabSequence({{"Button1", 0}, {"Button2", 1}, {"cbRelsy", 1}});
        FAIL() << "a shared tab position was accepted";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "tab position 1 is taken by both Button2 and cbRelsy");
    }
}

TEST(CheckControlNames, AcceptsIdentifiersAndRefusesTheRest) {
    struct Case {
        const char* label;
        std::vector<std::string> names;
        const char* error;  // null: accepted
    };
    const Case cases[] = {
        {"design names", {"sb90", "sbm20", "SpeedButton16", "cbTExtStyle", "le_VDelta"}, nullptr},
        {"empty name", {"sb90", ""}, "control name '' is not an identifier"},
        {"blank inside", {"sb 90"}, "control name 'sb 90' is not an identifier"},
        {"property separator", {"a:b"}, "control name 'a:b' is not an identifier"},
        {"repeated", {"Button1", "Label1", "Button1"}, "control name 'Button1' is used twice"},
    };
    for (const auto& c : cases) {
        if (c.error == nullptr) {
            EXPECT_NO_THROW(ui::CheckControlNames(c.names)) << c.label;
            continue;
        }
        try {
            ui::CheckControlNames(c.names);
            ADD_FAILURE() << c.label << ": accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), c.error) << c.label;
        }
    }
}

}  // namespace
