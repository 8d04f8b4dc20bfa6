// The style picker as the settings dialog opens it: the tree of the project,
// the preselection of the current style, the rules of confirming, and the
// style chosen reaching the panel.
#include <gtest/gtest.h>

#include "tests/settings/sample_project.h"
#include "tests/settings/settings_fixture.h"

namespace kavrel::test {
namespace {

using Path = std::vector<std::wstring>;

// The editor tests' project and the settings the panel works with there.
MarkSettings EditorMarks() {
    return {.PointStyle = u"SP",
            .TextStyle = u"ST",
            .RailStyle = u"SR",
            .HeightField = u"A.H",
            .RailTextStyle = u"SRT",
            .RailLineStyle = u"RL"};
}
const std::vector<Node> kEditorRelief = {
    {0, L"План"},          {1, L"Рельеф"},         {2, L"Точка"},  {2, L"Подпись"},
    {2, L"Рельс отметки"}, {2, L"Подпись рельса"}, {2, L"Прочее"},
};

std::string Repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

class StylePicker : public SettingsTest {
  protected:
    // Opens the picker with "Выбрать..." of the point style and runs `step`
    // in it; the settings dialog is confirmed afterwards.
    Outcome InPicker(const std::string& project, const std::u16string& point_style, Step step,
                     std::function<void()> before_settings = {}) {
        MarkSettings settings;
        settings.PointStyle = point_style;
        return Session(
            project, settings,
            [](HWND d) {
                Press(d, "Button3");
                Press(d, "Button1");
            },
            {std::move(step)}, std::move(before_settings));
    }
};

TEST_F(StylePicker, ShowsMapsLayersAndStylesInTheHostsOrder) {
    const std::string longNames = R"({"maps": [{"id": "M", "name": ")" + Repeated("К", 255) +
                                  R"(", "layers": ["L"]}], "layers": [{"id": "L", "name": ")" +
                                  Repeated("С", 255) + R"(", "styles": [{"id": "S", "name": ")" +
                                  Repeated("Ш", 99) + R"(", "kind": "point"}]}]})";
    struct Case {
        const char* label;
        std::string project;
        std::vector<Node> nodes;
    };
    const Case cases[] = {
        {"an empty project", "{}", {}},
        {"the sample project",
         SampleProject(),
         {{0, L"Карта 1"},
          {1, L"Рельеф"},
          {2, L"Точка"},
          {2, L"Отметка"},
          {2, L"Кириллица"},
          {1, L"Подписи"},
          {2, L"Подпись"},
          {1, L"Рельсы"},
          {2, L"Рельс"},
          {2, L"Надпись рельса"},
          {2, L"Линия рельса"},
          {1, L"Пустой"},
          {0, L"Карта без слоёв"}}},
        {"names as long as the host gives them",
         longNames,
         {{0, std::wstring(255, L'К')}, {1, std::wstring(255, L'С')}, {2, std::wstring(99, L'Ш')}}},
    };
    for (const Case& c : cases) {
        std::vector<Node> nodes;
        bool collapsed = true;
        const Outcome out = InPicker(c.project, u"", [&](HWND picker) {
            nodes = TreeNodes(picker);
            for (const Node& n : nodes) {
                if (n.level == 0) {
                    collapsed = collapsed && !Expanded(picker, {n.text});
                }
            }
            Press(picker, "Button2");
        });
        EXPECT_EQ(nodes, c.nodes) << c.label;
        EXPECT_TRUE(collapsed) << c.label;
        EXPECT_TRUE(out.messages.empty()) << c.label;
        EXPECT_EQ(out.heldHostReferences, 0) << c.label;
    }
}

TEST_F(StylePicker, PreselectsTheNodeOfTheCurrentIdentifier) {
    const std::string twoMaps =
        SampleProject(R"(, {"id": "M3", "name": "Карта 3", "layers": ["L2"]})");  // "Подписи" again
    const std::string longIds =
        SampleProject("", R"(, {"id": "ABCDEFGHIJKLMNO", "name": "Пятнадцать", "kind": "point"})");

    struct Case {
        const char* label;
        std::string project;
        std::u16string setting;
        Path selected;
    };
    // Where nothing matches, the tree itself selects its first node as it
    // takes the focus (Windows and Wine tree views do): a map node, which
    // cannot be confirmed.
    const Path first = {L"Карта 1"};
    const Case cases[] = {
        {"a style", SampleProject(), u"S_TXT", {L"Карта 1", L"Рельеф", L"Отметка"}},
        {"a Cyrillic identifier", SampleProject(), u"Рел-Т", {L"Карта 1", L"Рельеф", L"Кириллица"}},
        {"a layer", SampleProject(), u"L2", {L"Карта 1", L"Подписи"}},
        {"a map identifier: maps carry none", SampleProject(), u"M1", first},
        {"an unknown identifier", SampleProject(), u"NOPE", first},
        {"another case", SampleProject(), u"s_txt", first},
        {"15 characters", longIds, u"ABCDEFGHIJKLMNO", {L"Карта 1", L"Рельеф", L"Пятнадцать"}},
        {"longer than an identifier holds", longIds, u"ABCDEFGHIJKLMNOP", first},
        {"the same style under two maps", twoMaps, u"S_T2", {L"Карта 3", L"Подписи", L"Подпись"}},
    };
    for (const Case& c : cases) {
        Path selected;
        const Outcome out = InPicker(c.project, c.setting, [&](HWND picker) {
            selected = SelectedPath(picker);
            Press(picker, "Button2");
        });
        EXPECT_EQ(selected, c.selected) << c.label;
        EXPECT_EQ(out.settings.PointStyle, c.setting) << c.label;
    }
}

TEST_F(StylePicker, ConfirmsOnlyAStyleNode) {
    struct Case {
        const char* label;
        std::u16string setting;
        Step step;  // ends with the picker closed or still open
        bool closed;
        std::u16string chosen;
    };
    const auto selectAndOk = [](Path path) {
        return [path](HWND p) {
            SelectNode(p, path);
            Press(p, "Button1");
        };
    };
    const Case cases[] = {
        {"ОК on a style", u"", selectAndOk({L"Карта 1", L"Рельсы", L"Рельс"}), true, u"S_RL"},
        {"ОК on the preselected style", u"S_TXT", [](HWND p) { Press(p, "Button1"); }, true,
         u"S_TXT"},
        {"ОК on a map", u"S_TXT", selectAndOk({L"Карта 1"}), false, u"S_TXT"},
        {"ОК on a layer", u"S_TXT", selectAndOk({L"Карта 1", L"Рельсы"}), false, u"S_TXT"},
        {"ОК on a preselected layer", u"L3", [](HWND p) { Press(p, "Button1"); }, false, u"L3"},
        {"ОК with nothing selected", u"", [](HWND p) { Press(p, "Button1"); }, false, u""},
        {"double click on a style", u"",
         [](HWND p) {
             DoubleClickNode(p, {L"Карта 1", L"Подписи", L"Подпись"});
         },
         true, u"S_T2"},
    };
    for (const Case& c : cases) {
        bool open = false;
        const Outcome out = InPicker(SampleProject(), c.setting, [&](HWND picker) {
            c.step(picker);
            RunLater([&open, picker] {
                open = IsWindow(picker) && IsWindowVisible(picker);
                if (open) {
                    Press(picker, "Button2");
                }
            });
        });
        EXPECT_EQ(!open, c.closed) << c.label;
        EXPECT_EQ(out.settings.PointStyle, c.chosen) << c.label;
        EXPECT_EQ(out.pickerShown, 1) << c.label;
    }
}

TEST_F(StylePicker, DoubleClickOnAMapOrLayerOnlyOpensIt) {
    struct Case {
        const char* label;
        Path path;
    };
    const Case cases[] = {
        {"a map", {L"Карта 1"}},
        {"a layer", {L"Карта 1", L"Рельеф"}},
    };
    for (const Case& c : cases) {
        bool open = false;
        bool expandedAfter = false;
        const Outcome out = InPicker(SampleProject(), u"S_RT", [&](HWND picker) {
            SelectNode(picker, {L"Карта 1"});  // the map opens, the layers can be hit
            const bool before = Expanded(picker, c.path);
            DoubleClickNode(picker, c.path);
            RunLater([&, picker, before] {
                open = IsWindow(picker) && IsWindowVisible(picker);
                if (open) {
                    expandedAfter = Expanded(picker, c.path) != before;
                    Press(picker, "Button2");
                }
            });
        });
        EXPECT_TRUE(open) << c.label;
        EXPECT_TRUE(expandedAfter) << c.label;
        EXPECT_EQ(out.settings.PointStyle, u"S_RT") << c.label;
    }
}

TEST_F(StylePicker, AnSdkFailureStopsTheTreeWhereItHappened) {
    struct Case {
        const char* operation;
        int nth;
        std::vector<Node> nodes;
    };
    const Case cases[] = {
        {"IM2MapProject.GetMapIds", 1, {}},
        {"IM2GISDatabase.GetMapInfo",
         2,
         {{0, L"Карта 1"},
          {1, L"Рельеф"},
          {2, L"Точка"},
          {2, L"Отметка"},
          {2, L"Кириллица"},
          {1, L"Подписи"},
          {2, L"Подпись"},
          {1, L"Рельсы"},
          {2, L"Рельс"},
          {2, L"Надпись рельса"},
          {2, L"Линия рельса"},
          {1, L"Пустой"}}},
        // The first call counts the layers, the second reads layer 0 again.
        {"IM2MapProject.GetLayerIds", 2, {{0, L"Карта 1"}}},
        {"IM2GISDatabase.GetLayerInfo",
         2,
         {{0, L"Карта 1"}, {1, L"Рельеф"}, {2, L"Точка"}, {2, L"Отметка"}, {2, L"Кириллица"}}},
        {"IM2GISDatabase.GetStyleIds", 1, {{0, L"Карта 1"}, {1, L"Рельеф"}}},
        {"IM2GISDatabase.GetStyle", 2, {{0, L"Карта 1"}, {1, L"Рельеф"}, {2, L"Точка"}}},
    };
    for (const Case& c : cases) {
        std::vector<Node> nodes;
        const Outcome out = InPicker(
            SampleProject(), u"S_PT",
            [&](HWND picker) {
                nodes = TreeNodes(picker);
                Press(picker, "Button2");
            },
            [&] { host_->accounting().ArmFault(c.operation, c.nth, u"Проект закрыт", u"GIS-17"); });
        EXPECT_EQ(out.pickerShown, 1) << c.operation;  // the dialog still comes up
        EXPECT_EQ(nodes, c.nodes) << c.operation;
        ASSERT_EQ(out.messages.size(), 1u) << c.operation;
        EXPECT_EQ(out.messages[0], L"Проект закрыт. [GIS-17]") << c.operation;
        EXPECT_EQ(out.heldHostReferences, 0) << c.operation;
    }
}

TEST_F(StylePicker, AnSdkFailureWhileBuildingTheTreeLeavesTheNodesBuiltSoFar) {
    std::vector<Node> nodes;
    const Outcome out = Session(MarkProject("[]"), EditorMarks(),
                                [&](HWND setup) {
                                    host_->accounting().ArmFault("IM2GISDatabase.GetLayerInfo", 2,
                                                                 u"Слой недоступен");
                                    Press(setup, "Button3");
                                    Press(setup, "Button2");
                                },
                                {[&](HWND picker) {
                                    nodes = TreeNodes(picker);
                                    Press(picker, "Button2");
                                }});
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0], L"Слой недоступен. [IM2GISDatabase.GetLayerInfo]");
    EXPECT_EQ(nodes, kEditorRelief);
}

TEST_F(StylePicker, AStyleChosenInThePickerReachesThePanelOnOk) {
    std::vector<Node> nodes;
    Path preselected;
    bool openAfterOkOnALayer = false;
    std::wstring afterPick;
    const Outcome out = Session(MarkProject("[]"), EditorMarks(),
                                [&](HWND setup) {
                                    Press(setup, "Button4");  // choose the label style
                                    afterPick = ControlText(setup, "eTextStyle");
                                    Press(setup, "Button1");
                                },
                                {[&](HWND picker) {
                                    nodes = TreeNodes(picker);
                                    preselected = SelectedPath(picker);
                                    SelectNode(picker, {L"План", L"Рельеф"});
                                    Press(picker, "Button1");
                                    openAfterOkOnALayer = IsWindowVisible(picker);
                                    SelectNode(picker, {L"План", L"Рельеф", L"Подпись рельса"});
                                    Press(picker, "Button1");
                                }});
    std::vector<Node> wholeTree = kEditorRelief;
    wholeTree.insert(wholeTree.end(), {{1, L"Железная дорога"}, {2, L"Рельс"}});
    EXPECT_EQ(nodes, wholeTree);
    EXPECT_EQ(preselected, (Path{L"План", L"Рельеф", L"Подпись"})) << "the label style";
    EXPECT_TRUE(openAfterOkOnALayer) << "OK on a layer keeps the picker open";
    EXPECT_EQ(afterPick, L"Рельеф\\Подпись рельса");
    EXPECT_EQ(out.settings.TextStyle, u"SRT");
    EXPECT_EQ(out.settings.PointStyle, u"SP");
}

}  // namespace
}  // namespace kavrel::test
