// Label presets and turns, rail turns, label moves and height steps on the
// panel, clicked in the stand-in host.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/editor/editor_fixture.h"

namespace kavrel::test {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Two plain marks as the editor rebuilds them: anchors (100, 200) and
// (-50, 10), labels starting 0.2 north and 0.2 east.
const char kTwoMarks[] = R"([
  {"id": "P1", "layer": "L1", "values": {"A.H": "100,3"},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[100, 200, 0]]]},
               {"style": "ST", "parts": [[[100.2, 200.2, 5], [100.2, 200.7, 5]]]} ]},
  {"id": "P2", "layer": "L1", "values": {"A.H": "0,2"},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[-50, 10, 0]]]},
               {"style": "ST", "parts": [[[-49.8, 10.2, 0], [-49.8, 10.7, 0]]]} ]}
])";

const char kRailMark[] = R"([
  {"id": "R1", "layer": "L1", "values": {"A.H": 12},
   "shapes": [ {"style": "SR", "flag": true, "parts": [[[10, 20, 0], [10.2, 20, 4]]]},
               {"style": "SRT", "parts": [[[10.2, 20.2, 0], [10.2, 20.7, 0]]]},
               {"style": "SR", "parts": [[[0, 0, 0], [1, 1, 0]]]} ]}
])";

const std::vector<host::Vertex>& LabelOf(const host::ObjectState& state) {
    return state.shapes.at(1).parts.at(0).vertices;
}

class CorrectionsTest : public EditorTest {
  protected:
    void OpenOnTwoMarks(wchar_t decimal = L',') {
        OpenPanelOn(MarkProject(kTwoMarks, kMarkPreferences, R"(["P1", "P2"])"), decimal);
    }
};

TEST_F(CorrectionsTest, PresetsPutTheLabelAtTheirAngleAtItsOldDistance) {
    struct Case {
        const char* button;
        double degrees;
    };
    const Case cases[] = {{"sb90", 90},   {"sb70", 70},   {"sb45", 45},   {"sb20", 20},  {"sb0", 0},
                          {"sbm20", -20}, {"sbm45", -45}, {"sbm70", -70}, {"sbm90", -90}};
    OpenOnTwoMarks();
    const double distance = 0.282842712474619;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        const long commits = Calls("IHostMapObjects.CommitChanges");
        EXPECT_TRUE(Click(c.button).empty());
        EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), commits + 2) << "one commit per mark";
        const double a = c.degrees * kPi / 180.0;
        const auto& label = LabelOf(Committed(u"P1"));
        EXPECT_NEAR(label[0].x, 100 + distance * std::sin(a), 1e-9);
        EXPECT_NEAR(label[0].y, 200 + distance * std::cos(a), 1e-9);
        EXPECT_NEAR(label[1].x, label[0].x + 0.2 * std::sin(a), 1e-9);
        EXPECT_NEAR(label[1].y, label[0].y + 0.2 * std::cos(a), 1e-9);
        EXPECT_EQ(label[0].c, 0.0);
        EXPECT_EQ(label[1].c, 0.0);
        // Each mark turns about its own point.
        const auto& other = LabelOf(Committed(u"P2"));
        EXPECT_NEAR(other[0].x, -50 + distance * std::sin(a), 1e-9);
        EXPECT_NEAR(other[0].y, 10 + distance * std::cos(a), 1e-9);
    }
    EXPECT_EQ(host_->redraws, 0) << "presets ask for no redraw";
}

TEST_F(CorrectionsTest, LabelTurnsGoBothWaysAndBackAgain) {
    OpenOnTwoMarks();
    const auto before = LabelOf(Committed(u"P1"));
    SetText("eRotAngle", L"90");
    Click("sbRotUp");
    {
        // Up raises the angle: a label pointing east now points north.
        const auto& label = LabelOf(Committed(u"P1"));
        EXPECT_NEAR(label[1].x - label[0].x, 0.5, 1e-9);
        EXPECT_NEAR(label[1].y - label[0].y, 0.0, 1e-9);
    }
    Click("sbRotDn");
    const auto& back = LabelOf(Committed(u"P1"));
    for (int k = 0; k < 2; ++k) {
        EXPECT_NEAR(back[k].x, before[k].x, 1e-9);
        EXPECT_NEAR(back[k].y, before[k].y, 1e-9);
        EXPECT_EQ(back[k].c, 0.0);
    }
    // A negative step up is a positive step down.
    SetText("eRotAngle", L"-5");
    Click("sbRotUp");
    const auto minus_up = LabelOf(Committed(u"P1"));
    SetText("eRotAngle", L"5");
    Click("sbRotUp");
    Click("sbRotDn");
    const auto& down = LabelOf(Committed(u"P1"));
    EXPECT_NEAR(down[0].x, minus_up[0].x, 1e-9);
    EXPECT_NEAR(down[0].y, minus_up[0].y, 1e-9);
}

TEST_F(CorrectionsTest, ZeroAndFullTurnsStillPrepareAndCommitEveryMark) {
    OpenOnTwoMarks();
    const auto before = LabelOf(Committed(u"P1"));
    for (const wchar_t* step : {L"0", L"360"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(step)));
        SetText("eRotAngle", step);
        const long commits = Calls("IHostMapObjects.CommitChanges");
        EXPECT_TRUE(Click("sbRotUp").empty());
        EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), commits + 2);
        const auto& label = LabelOf(Committed(u"P1"));
        EXPECT_NEAR(label[0].x, before[0].x, 1e-9);
        EXPECT_NEAR(label[1].y, before[1].y, 1e-9);
        EXPECT_EQ(label[0].c, 0.0) << "rewritten with a third value of 0";
    }
}

TEST_F(CorrectionsTest, RailTurnsMoveOnlyTheFirstStrokesSecondVertexAndKeepItsThirdValue) {
    OpenPanelOn(MarkProject(kRailMark, kMarkPreferences, R"(["R1"])"));
    SetChecked("cbRelsy", true);
    SetText("eRRotAngle", L"90");
    Click("sbRRotUp");
    // The object had a second stroke: preparation rebuilt it as a rail mark
    // first, so the stroke runs 0.2 north with c = 0, then turns clockwise.
    const auto& stroke = Committed(u"R1").shapes.at(0).parts.at(0).vertices;
    ASSERT_EQ(Committed(u"R1").shapes.size(), 2u);
    EXPECT_EQ(stroke[0], (host::Vertex{10, 20, 0}));
    EXPECT_NEAR(stroke[1].x, 10.0, 1e-12);
    EXPECT_NEAR(stroke[1].y, 20.2, 1e-12);
    EXPECT_EQ(LabelOf(Committed(u"R1"))[0], (host::Vertex{10.2, 20.2, 0}));
}

TEST_F(CorrectionsTest, RailTurnsKeepTheThirdValueOfAWellFormedStroke) {
    OpenPanelOn(MarkProject(R"([
      {"id": "R2", "layer": "L1",
       "shapes": [ {"style": "SR", "parts": [[[10, 20, 1], [10.2, 20, 4]]]},
                   {"style": "SRT", "parts": [[[10.2, 20.2, 9], [10.2, 20.7, 9]]]} ]}])",
                            kMarkPreferences, R"(["R2"])"));
    SetChecked("cbRelsy", true);
    SetText("eRRotAngle", L"90");
    Click("sbRRotDn");  // anticlockwise: north turns to west
    const auto& stroke = Committed(u"R2").shapes.at(0).parts.at(0).vertices;
    EXPECT_EQ(stroke[0], (host::Vertex{10, 20, 1}));
    EXPECT_NEAR(stroke[1].x, 10.0, 1e-12);
    EXPECT_NEAR(stroke[1].y, 19.8, 1e-12);
    EXPECT_EQ(stroke[1].c, 4.0);
    EXPECT_EQ(LabelOf(Committed(u"R2"))[0].c, 9.0) << "the label is not touched";
}

TEST_F(CorrectionsTest, MovesShiftBothLabelVerticesByTheTypedStep) {
    struct Case {
        const char* button;
        double dx;
        double dy;
    };
    const Case cases[] = {{"sbMoveUL", 0.2, -0.2}, {"sbMoveU", 0.2, 0},    {"sbMoveUR", 0.2, 0.2},
                          {"sbMoveL", 0, -0.2},    {"sbMoveR", 0, 0.2},    {"sbMoveDL", -0.2, -0.2},
                          {"sbMoveD", -0.2, 0},    {"sbMoveDR", -0.2, 0.2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        OpenOnTwoMarks();
        EXPECT_TRUE(Click(c.button).empty());
        const auto& label = LabelOf(Committed(u"P1"));
        EXPECT_EQ(label[0], (host::Vertex{100.2 + c.dx, 200.2 + c.dy, 0}));
        EXPECT_EQ(label[1], (host::Vertex{100.2 + c.dx, 200.7 + c.dy, 0}));
        EXPECT_EQ(Committed(u"P1").shapes[0].parts[0].vertices[0], (host::Vertex{100, 200, 0}));
        TearDown();
    }
}

// The sums are rounded to the decimals of height and step: 100,3 + 0,05 is
// stored as 100,35, not as the binary sum 100,34999999999999.
TEST_F(CorrectionsTest, HeightStepsStoreTheDecimalSumCommitOnceAndRedraw) {
    OpenOnTwoMarks();
    const long commits = Calls("IHostMapObjects.CommitChanges");
    EXPECT_TRUE(Click("SpeedButton6").empty());  // "+0,05"
    EXPECT_EQ(std::get<double>(Committed(u"P1").values.at(u"A.H")), 100.35);
    EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), commits + 1);
    EXPECT_EQ(host_->redraws, 1);

    struct Step {
        const char* edit;  // null: the button's caption is the step
        const wchar_t* text;
        const char* button;
        double p2;
    };
    const Step steps[] = {
        {nullptr, nullptr, "SpeedButton9", -0.25},  // 0,25 - 0,5
        {"eMinusV", L"-0,1", "sbMinusE", -0.15},    // lowered by minus 0,1
        {"ePlusV", L"1e2", "sbPlusE", 99.85},       // binary sum 99,849999999999994
        {"ePlusV", L"0,30000000000001", "sbPlusE", 99.85 + 0.30000000000001},  // 14 places
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.button);
        if (s.edit) {
            SetText(s.edit, s.text);
        }
        EXPECT_TRUE(Click(s.button).empty());
        EXPECT_EQ(std::get<double>(Committed(u"P2").values.at(u"A.H")), s.p2);
    }
}

// A style the map does not have must not empty the objects a rebuild would
// replace: the next commit of any correction would save them empty.
TEST_F(CorrectionsTest, AMarkStyleTheMapLacksRefusesTheRebuildAndEmptiesNothing) {
    OpenPanelOn(MarkProject(R"([
      {"id": "P1", "layer": "L1", "values": {"A.H": 7},
       "shapes": [ {"style": "SP", "parts": [[[1, 2, 0]]]} ]}])",
                            R"({"kavreleditor_pstyle": "sp", "kavreleditor_tstyle": "ST",
                                "kavreleditor_tfield": "A.H"})",
                            R"(["P1"])"));
    const auto messages = Click("sb0");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              L"Стиль отметки «sp» не найден в карте: задайте стили отметок в настройке.");
    Click("sbHPlus");
    ASSERT_EQ(Committed(u"P1").shapes.size(), 1u);
    EXPECT_EQ(Committed(u"P1").shapes[0].style, u"SP");
    EXPECT_EQ(std::get<double>(Committed(u"P1").values.at(u"A.H")), 7.5);
}

TEST_F(CorrectionsTest, AnEmptySelectionStillCommitsAndRedraws) {
    OpenPanelOn(MarkProject(kTwoMarks, kMarkPreferences));
    Click("sbHPlus");
    EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), 1);
    EXPECT_EQ(host_->redraws, 1);
    EXPECT_EQ(Calls("IHostMapObject.ExpandTemplate"), 0);
}

TEST_F(CorrectionsTest, AHeightThatIsNoNumberEndsTheStepBeforeTheCommit) {
    OpenPanelOn(MarkProject(R"([
      {"id": "P1", "layer": "L1", "values": {"A.H": 7},
       "shapes": [ {"style": "SP", "parts": [[[1, 2, 0]]]} ]},
      {"id": "E1", "layer": "L1", "values": {"A.H": ""},
       "shapes": [ {"style": "SP", "parts": [[[3, 4, 0]]]} ]}])",
                            kMarkPreferences, R"(["P1", "E1"])"));
    const auto messages = Click("sbHPlus");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"'' is not a valid floating point value");
    EXPECT_EQ(std::get<double>(Current(u"P1").values.at(u"A.H")), 7.5);
    EXPECT_EQ(std::get<double>(Committed(u"P1").values.at(u"A.H")), 7.0) << "not committed";
    EXPECT_EQ(host_->redraws, 0);
}

TEST_F(CorrectionsTest, BadTypedStepsAreRefusedBeforeAnyHostCall) {
    struct Case {
        const char* edit;
        const wchar_t* text;
        const char* button;
        std::wstring message;
    };
    const Case cases[] = {
        {"eRotAngle", L"abc", "sbRotUp", L"Неправильный ввод угла!"},
        {"eRotAngle", L"", "sbRotDn", L"Неправильный ввод угла!"},
        {"eRRotAngle", L"1e999", "sbRRotUp", L"Неправильный ввод угла!"},
        {"eRRotAngle", L"nan", "sbRRotDn", L"Неправильный ввод угла!"},
        {"eMoveValue", L"0.2", "sbMoveU", L"Неверный ввод числа 0.2"},
        {"eMoveValue", L"inf", "sbMoveDL", L"Неверный ввод числа inf"},
        {"ePlusV", L"1,2,3", "sbPlusE", L"Неверный ввод числа 1,2,3"},
        {"eMinusV", L"0x10", "sbMinusE", L"Неверный ввод числа 0x10"},
        {"eMinusV", L"-1e999", "sbMinusE", L"Неверный ввод числа -1e999"},
    };
    OpenOnTwoMarks();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        SetText(c.edit, c.text);
        const long calls = host_->accounting().TotalCalls();
        const auto messages = Click(c.button);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0], c.message);
        EXPECT_EQ(host_->accounting().TotalCalls(), calls) << "no host call";
        EXPECT_EQ(Text(c.edit), c.text) << "the edit keeps its text";
    }
    EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
}

TEST_F(CorrectionsTest, UnderARegionalPointTheCommaCaptionsStepByZeroAndTypedStepsTakeAPoint) {
    // Numeric heights: the host writes them with the session's separator.
    OpenPanelOn(MarkProject(R"([
      {"id": "P1", "layer": "L1", "values": {"A.H": 100.3},
       "shapes": [ {"style": "SP", "parts": [[[1, 2, 0]]]} ]}])",
                            kMarkPreferences, R"(["P1"])"),
                L'.');
    EXPECT_TRUE(Click("sbHPlus").empty());
    EXPECT_EQ(std::get<double>(Committed(u"P1").values.at(u"A.H")), 100.3);
    EXPECT_EQ(host_->redraws, 1) << "committed and redrawn all the same";

    SetText("ePlusV", L"0,1");
    const auto refused = Click("sbPlusE");
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0], L"Неверный ввод числа 0,1");
    SetText("ePlusV", L"0.1");
    EXPECT_TRUE(Click("sbPlusE").empty());
    EXPECT_EQ(std::get<double>(Committed(u"P1").values.at(u"A.H")), 100.4);
}

TEST_F(CorrectionsTest, PresetsSkipMarksWithoutAPlainPointOrLabel) {
    OpenOnTwoMarks();
    SetChecked("cbRelsy", true);
    const long commits = Calls("IHostMapObjects.CommitChanges");
    EXPECT_TRUE(Click("sb45").empty());
    // Preparation made both rail marks (two commits); the preset found no
    // plain point on either and left their labels where preparation put them.
    EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), commits + 2);
    EXPECT_EQ(LabelOf(Committed(u"P1"))[0], (host::Vertex{100.2, 200.2, 0}));
    EXPECT_EQ(LabelOf(Committed(u"P2"))[0], (host::Vertex{-49.8, 10.2, 0}));
}

}  // namespace
}  // namespace kavrel::test
