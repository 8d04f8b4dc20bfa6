// The style picker as the settings dialog opens it: the tree of the project,
// the preselection of the current style and the rules of confirming.
#include <gtest/gtest.h>

#include "tests/settings/sample_project.h"
#include "tests/settings/settings_session.h"

namespace settings_test {
namespace {

using kavrel::MarkSettings;
using Path = std::vector<std::wstring>;

FakeHost& NewHost(std::vector<FakeMap> maps, std::u16string point_style = u"") {
    auto* host = new FakeHost;  // kept: see the settings dialog tests
    host->maps = std::move(maps);
    MarkSettings settings;
    settings.PointStyle = std::move(point_style);
    StoreSettings(*host, settings);
    return *host;
}

// Opens the picker with "Выбрать..." of the point style and runs `step` in it;
// the settings dialog is confirmed afterwards.
Outcome InPicker(FakeHost& host, Step step) {
    return RunSettingsSession(host,
                              [](HWND d) {
                                  Click(d, "Button3");
                                  Click(d, "Button1");
                              },
                              {std::move(step)});
}

TEST(StylePicker, ShowsMapsLayersAndStylesInTheHostsOrder) {
    const std::u16string longMap(255, u'К');
    const std::u16string longLayer(255, u'С');
    const std::u16string longStyle(99, u'Ш');
    struct Case {
        const char* label;
        std::vector<FakeMap> maps;
        std::vector<Node> nodes;
    };
    const Case cases[] = {
        {"an empty project", {}, {}},
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
         {{"M", longMap, {{"L", longLayer, {{"S", longStyle}}, {}}}}},
         {{0, std::wstring(255, L'К')}, {1, std::wstring(255, L'С')}, {2, std::wstring(99, L'Ш')}}},
    };
    for (const Case& c : cases) {
        FakeHost& host = NewHost(c.maps);
        std::vector<Node> nodes;
        bool collapsed = true;
        const Outcome out = InPicker(host, [&](HWND picker) {
            nodes = TreeNodes(picker);
            for (const Node& n : nodes) {
                if (n.level == 0) {
                    collapsed = collapsed && !Expanded(picker, {n.text});
                }
            }
            Click(picker, "Button2");
        });
        EXPECT_EQ(nodes, c.nodes) << c.label;
        EXPECT_TRUE(collapsed) << c.label;
        EXPECT_TRUE(out.messages.empty()) << c.label;
        EXPECT_EQ(out.liveHostObjects, 0) << c.label;
    }
}

TEST(StylePicker, PreselectsTheNodeOfTheCurrentIdentifier) {
    std::vector<FakeMap> twoMaps = SampleProject();
    twoMaps.push_back({"M3", u"Карта 3", {twoMaps[0].layers[1]}});  // "Подписи" again
    std::vector<FakeMap> longIds = SampleProject();
    longIds[0].layers[0].styles.push_back({"ABCDEFGHIJKLMNO", u"Пятнадцать"});

    struct Case {
        const char* label;
        std::vector<FakeMap> maps;
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
        FakeHost& host = NewHost(c.maps, c.setting);
        Path selected;
        const Outcome out = InPicker(host, [&](HWND picker) {
            selected = SelectedPath(picker);
            Click(picker, "Button2");
        });
        EXPECT_EQ(selected, c.selected) << c.label;
        EXPECT_EQ(out.settings.PointStyle, c.setting) << c.label;
    }
}

TEST(StylePicker, ConfirmsOnlyAStyleNode) {
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
            Click(p, "Button1");
        };
    };
    const Case cases[] = {
        {"ОК on a style", u"", selectAndOk({L"Карта 1", L"Рельсы", L"Рельс"}), true, u"S_RL"},
        {"ОК on the preselected style", u"S_TXT", [](HWND p) { Click(p, "Button1"); }, true,
         u"S_TXT"},
        {"ОК on a map", u"S_TXT", selectAndOk({L"Карта 1"}), false, u"S_TXT"},
        {"ОК on a layer", u"S_TXT", selectAndOk({L"Карта 1", L"Рельсы"}), false, u"S_TXT"},
        {"ОК on a preselected layer", u"L3", [](HWND p) { Click(p, "Button1"); }, false, u"L3"},
        {"ОК with nothing selected", u"", [](HWND p) { Click(p, "Button1"); }, false, u""},
        {"double click on a style", u"",
         [](HWND p) {
             DoubleClickNode(p, {L"Карта 1", L"Подписи", L"Подпись"});
         },
         true, u"S_T2"},
    };
    for (const Case& c : cases) {
        FakeHost& host = NewHost(SampleProject(), c.setting);
        bool open = false;
        const Outcome out = InPicker(host, [&](HWND picker) {
            c.step(picker);
            RunLater([&open, picker] {
                open = IsWindow(picker) && IsWindowVisible(picker);
                if (open) {
                    Click(picker, "Button2");
                }
            });
        });
        EXPECT_EQ(!open, c.closed) << c.label;
        EXPECT_EQ(out.settings.PointStyle, c.chosen) << c.label;
        EXPECT_EQ(out.pickerShown, 1) << c.label;
    }
}

TEST(StylePicker, DoubleClickOnAMapOrLayerOnlyOpensIt) {
    struct Case {
        const char* label;
        Path path;
    };
    const Case cases[] = {
        {"a map", {L"Карта 1"}},
        {"a layer", {L"Карта 1", L"Рельеф"}},
    };
    for (const Case& c : cases) {
        FakeHost& host = NewHost(SampleProject(), u"S_RT");
        bool open = false;
        bool expandedAfter = false;
        const Outcome out = InPicker(host, [&](HWND picker) {
            SelectNode(picker, {L"Карта 1"});  // the map opens, the layers can be hit
            const bool before = Expanded(picker, c.path);
            DoubleClickNode(picker, c.path);
            RunLater([&, picker, before] {
                open = IsWindow(picker) && IsWindowVisible(picker);
                if (open) {
                    expandedAfter = Expanded(picker, c.path) != before;
                    Click(picker, "Button2");
                }
            });
        });
        EXPECT_TRUE(open) << c.label;
        EXPECT_TRUE(expandedAfter) << c.label;
        EXPECT_EQ(out.settings.PointStyle, u"S_RT") << c.label;
    }
}

TEST(StylePicker, AnSdkFailureStopsTheTreeWhereItHappened) {
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
        FakeHost& host = NewHost(SampleProject(), u"S_PT");
        host.Fail(c.operation, c.nth, u"GIS-17", u"Проект закрыт");
        std::vector<Node> nodes;
        const Outcome out = InPicker(host, [&](HWND picker) {
            nodes = TreeNodes(picker);
            Click(picker, "Button2");
        });
        EXPECT_EQ(out.pickerShown, 1) << c.operation;  // the dialog still comes up
        EXPECT_EQ(nodes, c.nodes) << c.operation;
        ASSERT_EQ(out.messages.size(), 1u) << c.operation;
        EXPECT_EQ(out.messages[0].text, L"Проект закрыт. [GIS-17]") << c.operation;
        EXPECT_EQ(out.liveHostObjects, 0) << c.operation;
    }
}

}  // namespace
}  // namespace settings_test
