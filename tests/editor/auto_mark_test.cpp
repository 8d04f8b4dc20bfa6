// "Авто отметка": rail marks snapped onto the rail line, in the stand-in host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "tests/editor/editor_fixture.h"

namespace kavrel::test {
namespace {

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// A rail mark with its anchor at (x, y): stroke 0.2 north (c of vertex 1 is
// 3), label 0.2 north-east of the anchor (c 6).
std::string RailMark(const char* id, double x, double y, const char* layer = "L1") {
    const auto n = Number;
    return std::string(R"({"id": ")") + id + R"(", "layer": ")" + layer + R"(",
       "shapes": [ {"style": "SR", "parts": [[[)" +
           n(x) + "," + n(y) + ",1],[" + n(x + 0.2) + "," + n(y) + R"(,3]]]},
                   {"style": "SRT", "parts": [[[)" +
           n(x + 0.2) + "," + n(y + 0.2) + ",6],[" + n(x + 0.2) + "," + n(y + 0.7) + ",6]]]} ]}";
}

std::string Rail(const char* id, double x1, double y1, double x2, double y2) {
    const auto n = Number;
    return std::string(R"({"id": ")") + id + R"(", "layer": "LR",
       "shapes": [ {"style": "RL", "parts": [[[)" +
           n(x1) + "," + n(y1) + ",0],[" + n(x2) + "," + n(y2) + ",0]]]} ]}";
}

class AutoMarkTest : public EditorTest {
  protected:
    void Run(const std::string& objects, const std::string& selection, bool rails = true) {
        OpenPanelOn(MarkProject(objects, kMarkPreferences, selection));
        SetChecked("cbRelsy", rails);
        messages_ = Click("SpeedButton1");
    }
    const std::vector<host::Vertex>& Stroke(const char16_t* id) {
        return Committed(id).shapes.at(0).parts.at(0).vertices;
    }
    const std::vector<host::Vertex>& Label(const char16_t* id) {
        return Committed(id).shapes.at(1).parts.at(0).vertices;
    }
    std::vector<std::wstring> messages_;
};

TEST_F(AutoMarkTest, WorkedExampleOnADiagonalRail) {
    Run("[" + RailMark("K", 5.5, 4.5) + "," + Rail("T", 0, 0, 10, 10) + "]", R"(["K"])");
    EXPECT_TRUE(messages_.empty());
    const auto& stroke = Stroke(u"K");
    EXPECT_NEAR(stroke[0].x, 5.0, 1e-12);
    EXPECT_NEAR(stroke[0].y, 5.0, 1e-12);
    EXPECT_EQ(stroke[0].c, 3.0) << "both stroke vertices take vertex 1's third value";
    EXPECT_EQ(stroke[1], (host::Vertex{5.5, 4.5, 3}));
    const auto& label = Label(u"K");
    EXPECT_NEAR(label[0].x, 5.7 - 0.5, 1e-12);
    EXPECT_NEAR(label[0].y, 4.7 + 0.5, 1e-12);
    EXPECT_NEAR(label[1].y, 5.2 + 0.5, 1e-12);
    EXPECT_EQ(label[0].c, 6.0) << "the label keeps its own third values";
    EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), 1);
    EXPECT_EQ(host_->redraws, 0);
}

TEST_F(AutoMarkTest, MarksThatFindNoRailStayAndAreNotCommitted) {
    // 1.5 from the diagonal y = x, with its foot at (5, 5).
    const double far_x = 5 + 1.5 / std::sqrt(2.0);
    const double far_y = 5 - 1.5 / std::sqrt(2.0);
    struct Case {
        const char* label;
        double x;
        double y;
        std::string rail;
    };
    const Case cases[] = {
        {"1.5 from the rail", far_x, far_y, Rail("T", 0, 0, 10, 10)},
        {"foot beyond the segment's end", 5.5, 4.5, Rail("T", 0, 0, 4, 4)},
        {"foot on the segment's end", 5.5, 4.5, Rail("T", 0, 0, 5, 5)},
        {"zero-length segment", 5.5, 4.5, Rail("T", 5, 5, 5, 5)},
        {"rail outside the search square", 5.5, 4.5, Rail("T", 20, 0, 30, 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Run("[" + RailMark("K", c.x, c.y) + "," + c.rail + "]", R"(["K"])");
        EXPECT_EQ(Stroke(u"K")[0], (host::Vertex{c.x, c.y, 1}));
        EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), 0);
        TearDown();
    }
}

TEST_F(AutoMarkTest, ARailParallelToAnAxisTakesAMark) {
    Run("[" + RailMark("K", 4, 5.5) + "," + Rail("T", 0, 5, 10, 5) + "]", R"(["K"])");
    EXPECT_EQ(Stroke(u"K")[0], (host::Vertex{4, 5, 3}));
    EXPECT_EQ(Stroke(u"K")[1], (host::Vertex{4, 5.5, 3}));
}

TEST_F(AutoMarkTest, TheNearestRailWinsWhateverTheOrder) {
    // The near rail (0.3 away) comes first, the far one (0.8 away) last.
    Run("[" + RailMark("K", 4, 5.3) + "," + Rail("NEAR", 0, 5, 10, 5) + "," +
            Rail("FAR", 0, 6.1, 10, 6.1) + "]",
        R"(["K"])");
    EXPECT_NEAR(Stroke(u"K")[0].y, 5.0, 1e-12);
}

// Pressing the button twice must not collapse the strokes the first press made.
TEST_F(AutoMarkTest, ASecondSnapKeepsTheStrokesOfTheFirst) {
    Run("[" + RailMark("K", 5.5, 4.5) + "," + RailMark("ON", 3, 3) + "," + Rail("T", 0, 0, 10, 10) +
            "]",
        R"(["K", "ON"])");
    EXPECT_EQ(Stroke(u"ON")[1], (host::Vertex{3.2, 3, 3})) << "a mark on its rail keeps its stroke";
    const std::vector<host::Vertex> stroke = Stroke(u"K");
    const std::vector<host::Vertex> label = Label(u"K");
    const int commits = Calls("IHostMapObjects.CommitChanges");
    EXPECT_EQ(commits, 1);

    EXPECT_TRUE(Click("SpeedButton1").empty());
    EXPECT_EQ(Stroke(u"K"), stroke);
    EXPECT_EQ(Label(u"K"), label);
    EXPECT_EQ(Stroke(u"ON")[1], (host::Vertex{3.2, 3, 3}));
    EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), commits) << "nothing written again";
}

TEST_F(AutoMarkTest, MarksInTheRailLayerSnapToTheRailNotToTheirOwnStroke) {
    Run("[" + RailMark("K", 4, 5.5, "LR") + "," + Rail("T", 0, 5, 10, 5) + "]", R"(["K"])");
    EXPECT_EQ(Stroke(u"K")[0], (host::Vertex{4, 5, 3}));
}

TEST_F(AutoMarkTest, OutsideRailsModeNothingIsSnapped) {
    Run("[" + RailMark("K", 5.5, 4.5) + "," + Rail("T", 0, 0, 10, 10) + "]", R"(["K"])", false);
    // Preparation made it a plain mark at the anchor; no rail stroke is left.
    ASSERT_EQ(Committed(u"K").shapes.size(), 2u);
    EXPECT_EQ(Committed(u"K").shapes[0].style, u"SP");
    EXPECT_EQ(Stroke(u"K")[0], (host::Vertex{5.5, 4.5, 0}));
    EXPECT_EQ(Calls("IHostMapObjects.QueryInRect"), 0);
}

TEST_F(AutoMarkTest, ARailLineStyleNamingNoStyleShowsTheHostsErrorAfterPreparation) {
    OpenPanelOn(MarkProject("[" + RailMark("K", 5.5, 4.5) + R"(,
      {"id": "J", "layer": "L1", "shapes": [
        {"style": "SX", "parts": [[[1, 1, 0], [2, 2, 0]]]}]},)" +
                                Rail("T", 0, 0, 10, 10) + "]",
                            R"({"kavreleditor_pstyle": "SP", "kavreleditor_tstyle": "ST",
                                "kavreleditor_rstyle": "SR", "kavreleditor_rtstyle": "SRT",
                                "kavreleditor_rlstyle": "NOSUCH"})",
                            R"(["K", "J"])"));
    SetChecked("cbRelsy", true);
    const auto messages = Click("SpeedButton1");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_NE(messages[0].find(L"NOSUCH"), std::wstring::npos) << "the host's own text";
    // J was rebuilt into a rail mark and committed before the failure.
    EXPECT_EQ(Committed(u"J").shapes.at(0).style, u"SR");
    EXPECT_EQ(Stroke(u"K")[0], (host::Vertex{5.5, 4.5, 1}));
}

}  // namespace
}  // namespace kavrel::test
