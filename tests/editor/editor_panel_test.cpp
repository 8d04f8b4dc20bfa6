// The editor panel in the stand-in host: opening, its preference values, the
// single-panel rule, closing, and the preparation of marks before a correction.
#include <gtest/gtest.h>

#include "tests/editor/editor_fixture.h"

namespace kavrel::test {
namespace {

// A plain mark O1 at (100, 200) with its label, a plain mark O2 whose label
// comes first, and an object O3 with a third shape.
const char kThreeObjects[] = R"([
  {"id": "O1", "layer": "L1", "values": {"A.H": "100,3"},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[100, 200, 7]]]},
               {"style": "ST", "parts": [[[100.2, 200.2, 7], [100.2, 200.7, 7]]]} ]},
  {"id": "O2", "layer": "L1", "values": {"A.H": 50},
   "shapes": [ {"style": "ST", "parts": [[[10, 20, 0], [10, 21, 0]]]},
               {"style": "SX", "parts": [[[11, 22, 0], [12, 23, 0]]]} ]},
  {"id": "O3", "layer": "L1", "values": {"A.H": 1},
   "shapes": [ {"style": "SX", "parts": [[[5, 6, 0], [7, 8, 0]]]},
               {"style": "SP", "flag": true, "parts": [[[30, 40, 0]]]},
               {"style": "ST", "parts": [[[30.2, 40.2, 0], [30.2, 40.7, 0]]]} ]}
])";

TEST_F(EditorTest, FirstStartOnAnEmptyStoreShowsTheDefaultsAndWritesThemBack) {
    OpenPanelOn(MarkProject("[]"));
    EXPECT_TRUE(connect_messages_.empty());
    EXPECT_EQ(Text("eRotAngle"), L"5");
    EXPECT_EQ(Text("eRRotAngle"), L"5");
    EXPECT_EQ(Text("eMinusV"), L"0,1");
    EXPECT_EQ(Text("ePlusV"), L"0,1");
    EXPECT_EQ(Text("eMoveValue"), L"0,2");
    EXPECT_FALSE(Checked("cbRelsy"));

    EXPECT_TRUE(ClosePanel().empty());
    EXPECT_EQ(Panel(), nullptr);
    const std::pair<const char16_t*, const char16_t*> stored[] = {
        {u"kavreleditor_pstyle", u""},     {u"kavreleditor_tstyle", u""},
        {u"kavreleditor_rstyle", u""},     {u"kavreleditor_rtstyle", u""},
        {u"kavreleditor_tfield", u""},     {u"kavreleditor_rlstyle", u""},
        {u"kavreleditor_erotang", u"5"},   {u"kavreleditor_eminval", u"0,1"},
        {u"kavreleditor_epluval", u"0,1"}, {u"kavreleditor_emoveval", u"0,2"},
        {u"kavreleditor_relsy", u"0"},     {u"kavreleditor_labelheight", u"0,6"},
    };
    for (const auto& [key, value] : stored) {
        EXPECT_EQ(Preference(key), value);
    }
    EXPECT_EQ(Model().preferences.size(), 12u);
}

TEST_F(EditorTest, RailsModeTextsAreReadAsBooleansAndStoredAsMinusOneOrZero) {
    struct Case {
        const char* label;
        const char* stored;
        bool ticked;
        const wchar_t* message;
        const char16_t* written;
    };
    const Case cases[] = {
        {"minus one", "-1", true, nullptr, u"-1"},
        {"two", "2", true, nullptr, u"-1"},
        {"True", "True", true, nullptr, u"-1"},
        {"mixed case true", "tRUE", true, nullptr, u"-1"},
        {"zero", "0", false, nullptr, u"0"},
        {"default FALSE", "FALSE", false, nullptr, u"0"},
        {"false", "false", false, nullptr, u"0"},
        {"no boolean", "abc", false, L"'abc' is not a valid boolean value", u"0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        OpenPanelOn(
            MarkProject("[]", std::string(R"({"kavreleditor_relsy": ")") + c.stored + "\"}"));
        if (c.message) {
            ASSERT_EQ(connect_messages_.size(), 1u);
            EXPECT_EQ(connect_messages_[0], c.message);
        } else {
            EXPECT_TRUE(connect_messages_.empty());
        }
        EXPECT_EQ(Checked("cbRelsy"), c.ticked);
        ClosePanel();
        EXPECT_EQ(Preference(u"kavreleditor_relsy"), c.written);
        TearDown();
        connect_messages_.clear();
    }
}

TEST_F(EditorTest, StepTextsAreSavedAsTypedAndShownAgain) {
    OpenPanelOn(MarkProject("[]", kMarkPreferences));
    SetText("eMoveValue", L"abc");
    SetText("eRotAngle", L"12,5");
    SetText("eRRotAngle", L"33");
    SetChecked("cbRelsy", true);
    ClosePanel();
    EXPECT_EQ(Preference(u"kavreleditor_emoveval"), u"abc");
    EXPECT_EQ(Preference(u"kavreleditor_erotang"), u"12,5");
    EXPECT_EQ(Preference(u"kavreleditor_relsy"), u"-1");
    // The settings come back as they were loaded.
    EXPECT_EQ(Preference(u"kavreleditor_pstyle"), u"SP");
    EXPECT_EQ(Preference(u"kavreleditor_rlstyle"), u"RL");

    OpenPanel();
    EXPECT_EQ(Text("eMoveValue"), L"abc");
    EXPECT_EQ(Text("eRotAngle"), L"12,5");
    EXPECT_EQ(Text("eRRotAngle"), L"5") << "the rail step is not stored";
    EXPECT_TRUE(Checked("cbRelsy"));
}

TEST_F(EditorTest, ASecondCommandOnlyShowsTheTaskPanelAndClosingAllowsANewPanel) {
    OpenPanelOn(MarkProject("[]"));
    const HWND first = Panel();
    EXPECT_EQ(host_->task_panel_shows, 0);
    ASSERT_EQ(addon_->ExecuteMacro(2, 0), S_OK);
    EXPECT_EQ(Panel(), first);
    EXPECT_EQ(host_->task_panel_shows, 1);
    EXPECT_EQ(Calls("IHostMainWindow.GetTaskPanel"), 1);

    ClosePanel();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(host_->accounting().References("IHostTaskPanel"), 0)
        << "the panel let its task panel go";
    EXPECT_EQ(host_->accounting().References("IHostMapObjects"), 0);

    OpenPanel();
    EXPECT_NE(Panel(), nullptr);
    EXPECT_EQ(Calls("IHostMainWindow.GetTaskPanel"), 2);
    EXPECT_EQ(host_->task_panel_shows, 1);
}

TEST_F(EditorTest, UnloadingTheAddOnWithThePanelOpenSavesAndClosesIt) {
    OpenPanelOn(MarkProject("[]", kMarkPreferences));
    SetText("ePlusV", L"0,7");
    const HWND panel = Panel();
    addon_->Disconnect();
    EXPECT_TRUE(IsWindow(panel)) << "Disconnect leaves the panel open";
    addon_.reset();
    FreeLibrary(module_);
    module_ = nullptr;
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(Preference(u"kavreleditor_epluval"), u"0,7");
    EXPECT_EQ(host_->accounting().References("IHostTaskPanel"), 0);
    EXPECT_EQ(host_->accounting().References("IHostApplication"), 0);
}

// Preparation runs before every geometric correction; a move by 0 leaves the
// labels where preparation put them.
TEST_F(EditorTest, PreparationKeepsWellFormedMarksAndRebuildsTheRest) {
    OpenPanelOn(MarkProject(kThreeObjects, kMarkPreferences, R"(["O1", "O2", "O3"])"));
    SetText("eMoveValue", L"0");
    EXPECT_TRUE(Click("sbMoveU").empty());

    // O1 was well formed: same styles, same point (its c kept).
    const auto& o1 = Committed(u"O1");
    ASSERT_EQ(o1.shapes.size(), 2u);
    EXPECT_EQ(o1.shapes[0].style, u"SP");
    EXPECT_EQ(o1.shapes[0].parts[0].vertices[0], (host::Vertex{100, 200, 7}));

    // O2 had no point and no flag: rebuilt at vertex 0 of shape 0, its label.
    const auto& o2 = Committed(u"O2");
    ASSERT_EQ(o2.shapes.size(), 2u);
    EXPECT_EQ(o2.shapes[0].style, u"SP");
    EXPECT_EQ(o2.shapes[0].parts[0].vertices, (std::vector<host::Vertex>{{10, 20, 0}}));
    EXPECT_EQ(o2.shapes[1].style, u"ST");
    EXPECT_EQ(o2.shapes[1].parts[0].vertices,
              (std::vector<host::Vertex>{{10.2, 20.2, 0}, {10.2, 20.7, 0}}));

    // O3 had a third shape: rebuilt at its flagged point, the third shape gone.
    const auto& o3 = Committed(u"O3");
    ASSERT_EQ(o3.shapes.size(), 2u);
    EXPECT_EQ(o3.shapes[0].parts[0].vertices, (std::vector<host::Vertex>{{30, 40, 0}}));
    EXPECT_EQ(o3.shapes[1].style, u"ST");
    EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
}

TEST_F(EditorTest, RailsModeRebuildsPlainMarksAsRailMarksAndBack) {
    OpenPanelOn(MarkProject(kThreeObjects, kMarkPreferences, R"(["O1"])"));
    SetText("eMoveValue", L"0");
    SetChecked("cbRelsy", true);
    Click("sbMoveU");
    {
        const auto& o1 = Committed(u"O1");
        ASSERT_EQ(o1.shapes.size(), 2u);
        EXPECT_EQ(o1.shapes[0].style, u"SR");
        EXPECT_EQ(o1.shapes[0].parts[0].vertices,
                  (std::vector<host::Vertex>{{100, 200, 0}, {100.2, 200, 0}}));
        EXPECT_EQ(o1.shapes[1].style, u"SRT");
    }
    SetChecked("cbRelsy", false);
    Click("sbMoveU");
    const auto& o1 = Committed(u"O1");
    ASSERT_EQ(o1.shapes.size(), 2u);
    EXPECT_EQ(o1.shapes[0].style, u"SP");
    EXPECT_EQ(o1.shapes[0].parts[0].vertices, (std::vector<host::Vertex>{{100, 200, 0}}));
}

TEST_F(EditorTest, MissingMarkStylesStopACorrectionBeforeAnythingChanges) {
    OpenPanelOn(
        MarkProject(kThreeObjects, R"({"kavreleditor_tstyle": "ST"})", R"(["O1", "O2", "O3"])"));
    const long commits = Calls("IHostMapObjects.CommitChanges");
    const auto messages = Click("sb45");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Не выбраны стили отметок: задайте их в настройке.");
    EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), commits);
    EXPECT_EQ(Committed(u"O3").shapes.size(), 3u);
    EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// A field name with characters outside code page 1251 still addresses its field.
TEST_F(EditorTest, SettingsKeepNamesOutsideTheEightBitCodePage) {
    std::string project = MarkProject(R"([{"id": "O1", "layer": "L1", "values": {"Ĥöhe.Ĥ": 2},
                               "shapes": [ {"style": "SP", "parts": [[[1, 2, 5]]]} ]}])",
                                      R"({"kavreleditor_tfield": "Ĥöhe.Ĥ"})", R"(["O1"])");
    project = Replaced(project, R"({"name": "A", "fields": ["H", "N"]})",
                       R"({"name": "A", "fields": ["H", "N"]}, {"name": "Ĥöhe", "fields": ["Ĥ"]})");
    OpenPanelOn(project);
    EXPECT_TRUE(Click("sbHPlus").empty());
    EXPECT_EQ(std::get<double>(Committed(u"O1").values.at(u"Ĥöhe.Ĥ")), 2.5);
    ClosePanel();
    EXPECT_EQ(Preference(u"kavreleditor_tfield"), u"Ĥöhe.Ĥ");
}

TEST_F(EditorTest, AnObjectWithoutShapesIsLeftAlone) {
    OpenPanelOn(
        MarkProject(R"([{"id": "E", "layer": "L1", "shapes": []}])", kMarkPreferences, R"(["E"])"));
    EXPECT_TRUE(Click("sb0").empty());
    EXPECT_TRUE(Committed(u"E").shapes.empty());
    EXPECT_EQ(Calls("IHostShapes.Clear"), 0);
}

TEST_F(EditorTest, AFailingPreferenceReadIsShownAndThePanelStillWorks) {
    StartHost(MarkProject(kThreeObjects, kMarkPreferences, R"(["O1"])"));
    ConnectAddon();
    host_->accounting().ArmFault("IHostPreferences.ReadString", 3, u"Хранилище недоступно");
    OpenPanel();
    ASSERT_EQ(connect_messages_.size(), 1u);
    EXPECT_EQ(connect_messages_[0], L"Хранилище недоступно");
    // The two settings read before the failure are there, and the map objects
    // were fetched all the same: a preset works.
    EXPECT_TRUE(Click("sb0").empty());
    const auto& label = Committed(u"O1").shapes[1].parts[0].vertices;
    EXPECT_NEAR(label[0].x, 100.0, 1e-12);
    EXPECT_NEAR(label[0].y, 200.282842712474619, 1e-12);
}

TEST_F(EditorTest, AFailingPreferenceWriteDoesNotLoseTheKeysAfterIt) {
    OpenPanelOn(MarkProject("[]", kMarkPreferences));
    SetText("eMoveValue", L"0,3");
    host_->accounting().ArmFault("IHostPreferences.WriteString", 2, u"Запись запрещена");
    const auto messages = ClosePanel();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Запись запрещена");
    EXPECT_EQ(Calls("IHostPreferences.WriteString"), 12);
    EXPECT_EQ(Preference(u"kavreleditor_emoveval"), u"0,3");
    EXPECT_EQ(Panel(), nullptr);
    OpenPanel();
    EXPECT_NE(Panel(), nullptr) << "the add-on does not hold on to the destroyed panel";
}

}  // namespace
}  // namespace kavrel::test
