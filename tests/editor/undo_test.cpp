// "Отменить" and Ctrl+Z on the panel, in the stand-in host: the last click
// taken back to the exact state before it, objects changed since or rebuilt
// left alone and counted, a host failure half-way and a second undo.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "editor/panel_buttons.h"
#include "tests/editor/editor_fixture.h"

namespace kavrel::test {
namespace {

using kavrel::ButtonAction;
using kavrel::PanelButton;

// Two plain marks (the label of P1 has third values of 5), an object of one
// line that presets rebuild, a rail mark 0.7 from a diagonal rail, and a mark
// whose label lies on its point.
const char kObjects[] = R"([
  {"id": "P1", "layer": "L1", "values": {"A.H": 100.3},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[100, 200, 0]]]},
               {"style": "ST", "parts": [[[100.2, 200.2, 5], [100.2, 200.7, 5]]]} ]},
  {"id": "P2", "layer": "L1", "values": {"A.H": 0.2},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[-50, 10, 0]]]},
               {"style": "ST", "parts": [[[-49.8, 10.2, 0], [-49.8, 10.7, 0]]]} ]},
  {"id": "X1", "layer": "L1", "values": {"A.H": 7},
   "shapes": [ {"style": "SX", "parts": [[[3, 4, 1], [5, 6, 1]]]} ]},
  {"id": "R1", "layer": "L1", "values": {"A.H": 12},
   "shapes": [ {"style": "SR", "flag": true, "parts": [[[5.5, 4.5, 1], [5.7, 4.5, 3]]]},
               {"style": "SRT", "parts": [[[5.7, 4.7, 6], [5.7, 5.2, 6]]]} ]},
  {"id": "RL1", "layer": "LR", "shapes": [ {"style": "RL", "parts": [[[0, 0, 0], [10, 10, 0]]]} ]},
  {"id": "P3", "layer": "L1", "values": {"A.H": 3.5},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[30, 30, 0]]]},
               {"style": "ST", "parts": [[[29.9, 29.8, 2], [29.9, 30.3, 2]]]} ]}
])";

// An object's shapes, vertices (exact, as hexadecimal floats) and values.
std::string StateText(const host::ObjectState& state) {
    std::string text;
    char number[96];
    for (const host::Shape& shape : state.shapes) {
        text += std::string(shape.style.begin(), shape.style.end()) + ":";
        for (const host::ContourPart& part : shape.parts) {
            for (const host::Vertex& v : part.vertices) {
                std::snprintf(number, sizeof number, " %a %a %a;", v.x, v.y, v.c);
                text += number;
            }
        }
        text += "\n";
    }
    for (const auto& [field, value] : state.values) {
        if (const double* height = std::get_if<double>(&value)) {
            std::snprintf(number, sizeof number, " = %a\n", *height);
            text += std::string(field.begin(), field.end()) + number;
        }
    }
    return text;
}

class UndoTest : public EditorTest {
  protected:
    void OpenOn(const char* selection) {
        OpenPanelOn(MarkProject(kObjects, kMarkPreferences, selection));
    }
    std::string Committed(const char16_t* id) { return StateText(EditorTest::Committed(id)); }
    bool UndoEnabled() { return IsWindowEnabled(Control("btnUndo")) != FALSE; }
    // Another tool of the host changes the object and commits.
    host::ObjectState& EditElsewhere(const char16_t* id) {
        return Model().Edit(*Model().FindObject(id));
    }
    // Ctrl+Z typed while the focus is in a control of the panel.
    void PressCtrlZ(const char* focused) {
        SetFocus(Control(focused));
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        BYTE pressed[256];
        std::copy(std::begin(keys), std::end(keys), pressed);
        pressed[VK_CONTROL] = pressed[VK_LCONTROL] = 0x80;
        SetKeyboardState(pressed);
        PostMessageW(Control(focused), WM_KEYDOWN, 'Z', 0x002C0001);
        Pump();
        SetKeyboardState(keys);
    }
};

// Every button of the panel's table that changes the map, in one panel:
// plain corrections on the plain marks, heights on two marks and the line,
// rail corrections in rails mode on the rail mark, each with its default step.
TEST_F(UndoTest, EveryButtonThatChangesTheMapIsTakenBackToTheExactStateBeforeIt) {
    OpenOn("[]");
    const char16_t* ids[] = {u"P1", u"P2", u"X1", u"R1", u"P3"};
    auto state = [&] {
        std::string text;
        for (const char16_t* id : ids) {
            text += Committed(id);
        }
        return text;
    };
    int clicked = 0;
    for (const PanelButton& b : PanelButtons()) {
        if (!ChangesTheMap(b)) {
            continue;
        }
        SCOPED_TRACE(b.name);
        const bool rails = WorksOnRailMarks(b);
        SetChecked("cbRelsy", rails);
        const bool heights =
            b.action == ButtonAction::StepHeights || b.action == ButtonAction::TypeHeights;
        if (rails) {
            Select({u"R1"});
        } else if (heights) {
            Select({u"P1", u"P2", u"X1"});
        } else {
            Select({u"P1", u"P2", u"P3"});
        }
        const std::string before = state();
        EXPECT_FALSE(UndoEnabled());
        EXPECT_TRUE(Click(b.name).empty());
        ASSERT_NE(state(), before) << "the click changed nothing";
        EXPECT_TRUE(UndoEnabled());

        const int redraws = host_->redraws;
        EXPECT_TRUE(Click("btnUndo").empty());
        EXPECT_EQ(state(), before);
        EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
        EXPECT_FALSE(UndoEnabled()) << "one level of undo";
        const bool redrawn = heights || b.action == ButtonAction::PlaceLabels;
        EXPECT_EQ(host_->redraws, redraws + (redrawn ? 1 : 0)) << "redrawn as the click redraws";
        ++clicked;
    }
    EXPECT_GE(clicked, 40);
}

TEST_F(UndoTest, ObjectsChangedSinceOrRebuiltAreLeftAloneAndCounted) {
    OpenOn(R"(["P1", "P2", "X1"])");
    const std::string p1 = Committed(u"P1");
    EXPECT_TRUE(Click("sb45").empty());
    const std::string rebuilt = Committed(u"X1");
    EditElsewhere(u"P2").shapes[1].parts[0].vertices[1].c = 9;
    Model().CommitAll();
    const std::string p2 = Committed(u"P2");

    const auto messages = Click("btnUndo");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              L"Восстановлено объектов: 1.\n"
              L"Изменены после действия панели и оставлены как есть: 1.\n"
              L"Перестроены в отметку и оставлены как есть (прежние фигуры не вернуть): 1.");
    EXPECT_EQ(Committed(u"P1"), p1);
    EXPECT_EQ(Committed(u"P2"), p2);
    EXPECT_EQ(Committed(u"X1"), rebuilt);
    EXPECT_FALSE(UndoEnabled());

    // A height changed since keeps its new value.
    EXPECT_TRUE(Click("SpeedButton5").empty());  // "+0,1"
    EditElsewhere(u"P1").values[u"A.H"] = 55.0;
    Model().CommitAll();
    const auto heights = Click("btnUndo");
    ASSERT_EQ(heights.size(), 1u);
    EXPECT_EQ(heights[0],
              L"Восстановлено объектов: 2.\n"
              L"Изменены после действия панели и оставлены как есть: 1.");
    EXPECT_EQ(std::get<double>(EditorTest::Committed(u"P1").values.at(u"A.H")), 55.0);
    EXPECT_EQ(std::get<double>(EditorTest::Committed(u"X1").values.at(u"A.H")), 7.0);
}

TEST_F(UndoTest, AHostFailureEndsTheUndoAndASecondOneFinishesIt) {
    struct Case {
        const char* label;
        const char* button;
        const char* failing;
    };
    const Case cases[] = {
        // P1's end vertex: its start is written back, not yet committed.
        {"preset", "sb0", "IHostContourPart.SetVertex"},
        {"height step", "SpeedButton16", "IHostSemantics.SetValue"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        OpenOn(R"(["P1", "P2"])");
        const std::string before = Committed(u"P1") + Committed(u"P2");
        EXPECT_TRUE(Click(c.button).empty());
        const std::string after = Committed(u"P1") + Committed(u"P2");
        host_->accounting().ArmFault(c.failing, 2, u"Объект заблокирован");
        EXPECT_EQ(Click("btnUndo"), std::vector<std::wstring>{L"Объект заблокирован"});
        EXPECT_TRUE(UndoEnabled()) << "the record keeps what is not restored";
        EXPECT_FALSE(Model().ObjectsWithPendingEdits().empty());

        EXPECT_TRUE(Click("btnUndo").empty()) << "nothing counted as changed by someone else";
        EXPECT_EQ(Committed(u"P1") + Committed(u"P2"), before);
        EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
        EXPECT_FALSE(UndoEnabled());
        TearDown();
    }
}

TEST_F(UndoTest, TheButtonAndCtrlZFollowWhatThereIsToTakeBack) {
    OpenOn(R"(["P1"])");
    const RECT place = [&] {
        RECT r{};
        GetWindowRect(Control("btnUndo"), &r);
        MapWindowPoints(nullptr, Panel(), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }();
    EXPECT_EQ(place.left, 8);
    EXPECT_EQ(place.top, 460) << "level with \"Закрыть\"";
    EXPECT_EQ(Text("btnUndo"), L"Отменить");

    const std::string before = Committed(u"P1");
    const long calls = host_->accounting().TotalCalls();
    PressCtrlZ("eMoveValue");
    EXPECT_EQ(host_->accounting().TotalCalls(), calls) << "nothing to undo yet";

    EXPECT_TRUE(Click("sb0").empty());
    EXPECT_TRUE(UndoEnabled());
    // A refused click changes nothing and keeps the record.
    SetText("eMoveValue", L"abc");
    EXPECT_EQ(Click("sbMoveU").size(), 1u);
    EXPECT_TRUE(UndoEnabled());

    PressCtrlZ("eMoveValue");
    EXPECT_EQ(Committed(u"P1"), before);
    EXPECT_FALSE(UndoEnabled());
    EXPECT_EQ(Text("eMoveValue"), L"abc") << "Ctrl+Z is the panel's, not the edit's";

    // A click that writes nothing leaves nothing to undo.
    Select({});
    EXPECT_TRUE(Click("sb0").empty());
    EXPECT_FALSE(UndoEnabled());
}

}  // namespace
}  // namespace kavrel::test
