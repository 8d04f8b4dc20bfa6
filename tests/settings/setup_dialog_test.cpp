// The settings dialog as the user meets it from the panel's "Настройка..."
// button: what it shows, what the choose buttons and the field combo change,
// and what the panel takes back on OK and on "Отмена".
#include <gtest/gtest.h>

#include "tests/settings/sample_project.h"
#include "tests/settings/settings_fixture.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

constexpr const char* kBoxes[] = {"ePointStyle", "eTextStyle", "eRelsStyleName", "eRTextStyleName",
                                  "eRLStyleName"};
const std::wstring kNone = L"стиль не выбран";

struct View {
    std::vector<std::wstring> boxes;
    std::vector<std::wstring> fields;
    std::wstring fieldText;
    bool operator==(const View&) const = default;
};

View Read(HWND dialog) {
    View view;
    for (const char* box : kBoxes) {
        view.boxes.push_back(ControlText(dialog, box));
    }
    view.fields = ComboItems(dialog, "cbKavrelField");
    view.fieldText = ControlText(dialog, "cbKavrelField");
    return view;
}

MarkSettings Full() {
    return {.PointStyle = u"S_PT",
            .TextStyle = u"S_TXT",
            .RailStyle = u"S_RL",
            .HeightField = u"A.H",
            .RailTextStyle = u"S_RT",
            .RailLineStyle = u"S_RLN"};
}

// A settings dialog step: reads the view, chooses the label style with
// "Выбрать...", reads the view again and confirms.
Step ChooseLabelStyle(View& before, View& after) {
    return [&before, &after](HWND d) {
        before = Read(d);
        Press(d, "Button4");
        after = Read(d);
        Press(d, "Button1");
    };
}

// A picker step that selects a node and confirms it with "ОК".
Step Pick(std::vector<std::wstring> path) {
    return [path](HWND picker) {
        SelectNode(picker, path);
        Press(picker, "Button1");
    };
}

using SettingsDialog = SettingsTest;

TEST_F(SettingsDialog, ShowsTheSettingsItIsOpenedWithAndCancelHandsNothingBack) {
    MarkSettings unknown;
    unknown.PointStyle = u"НЕТ";
    unknown.TextStyle = u"S_T";   // a prefix of existing identifiers
    unknown.RailStyle = u"s_rl";  // case counts
    unknown.HeightField = u"X.Y";
    unknown.RailTextStyle = u"S_RT ";
    unknown.RailLineStyle = u"S\u0100";  // beyond code page 1251
    MarkSettings railLabelOnly;
    railLabelOnly.RailTextStyle = u"S_T2";  // its layer has tables: not consulted
    railLabelOnly.HeightField = u"T.Height";
    MarkSettings cyrillic;
    cyrillic.PointStyle = u"Рел-Т";
    MarkSettings editors;  // the editor tests' project; its rail label style left unset
    editors.PointStyle = u"SP";
    editors.TextStyle = u"ST";
    editors.HeightField = u"T.Height";
    editors.RailLineStyle = u"RL";
    editors.RailStyle = u"GONE";

    struct Case {
        const char* label;
        MarkSettings settings;
        View view;
        std::string project = SampleProject();
    };
    const Case cases[] = {
        {"all empty", MarkSettings{}, {{kNone, kNone, kNone, kNone, kNone}, {}, L""}},
        {"existing styles",
         Full(),
         {{L"Рельеф\\Точка", L"Рельеф\\Отметка", L"Рельсы\\Рельс", L"Рельсы\\Надпись рельса",
           L"Рельсы\\Линия рельса"},
          {L"A.H", L"A.N", L"B.Z"},
          L"A.H"}},
        {"identifiers naming no style", unknown, {{kNone, kNone, kNone, kNone, kNone}, {}, L"X.Y"}},
        {"the rail label style does not decide the field list",
         railLabelOnly,
         {{kNone, kNone, kNone, L"Подписи\\Подпись", kNone}, {}, L"T.Height"}},
        {"a Cyrillic identifier",
         cyrillic,
         {{L"Рельеф\\Кириллица", kNone, kNone, kNone, kNone}, {}, L""}},
        {"the names of another project",
         editors,
         {{L"Рельеф\\Точка", L"Рельеф\\Подпись", kNone, kNone, L"Железная дорога\\Рельс"},
          {L"A.H", L"A.N"},
          L"T.Height"},
         MarkProject("[]")},
    };
    for (const Case& c : cases) {
        View seen;
        const Outcome out = Session(c.project, c.settings, [&](HWND dialog) {
            seen = Read(dialog);
            Press(dialog, "Button2");
        });
        EXPECT_EQ(out.setupShown, 1) << c.label;
        EXPECT_EQ(seen, c.view) << c.label;
        EXPECT_EQ(out.settings, c.settings) << c.label;
        EXPECT_TRUE(out.messages.empty()) << c.label;
        EXPECT_EQ(out.heldHostReferences, 0) << c.label;
    }
}

TEST_F(SettingsDialog, HandsAllSixSettingsToThePanelOnlyWhenConfirmed) {
    const MarkSettings start = Full();
    MarkSettings typed = start;
    typed.HeightField = u"T.Height";
    MarkSettings picked = start;
    picked.HeightField = u"B.Z";
    MarkSettings emptied = start;
    emptied.HeightField = u"";
    MarkSettings newPoint = start;
    newPoint.PointStyle = u"S_T2";

    struct Case {
        const char* label;
        Step setup;
        std::deque<Step> pickers;
        MarkSettings expected;
    };
    const Case cases[] = {
        {"OK without changes", [](HWND d) { Press(d, "Button1"); }, {}, start},
        {"a typed field not in the list, OK",
         [](HWND d) {
             TypeInto(d, "cbKavrelField", L"T.Height");
             Press(d, "Button1");
         },
         {},
         typed},
        {"an emptied field, OK",
         [](HWND d) {
             TypeInto(d, "cbKavrelField", L"");
             Press(d, "Button1");
         },
         {},
         emptied},
        {"a list entry picked, OK",
         [](HWND d) {
             const HWND combo = kavrel::testing::FindControl(d, "cbKavrelField");
             SendMessageW(combo, CB_SETCURSEL, 2, 0);
             SendMessageW(d, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                          reinterpret_cast<LPARAM>(combo));
             Press(d, "Button1");
         },
         {},
         picked},
        {"a typed field, Отмена",
         [](HWND d) {
             TypeInto(d, "cbKavrelField", L"T.Height");
             Press(d, "Button2");
         },
         {},
         start},
        {"a new style, OK",
         [](HWND d) {
             Press(d, "Button3");
             Press(d, "Button1");
         },
         {Pick({L"Карта 1", L"Подписи", L"Подпись"})},
         newPoint},
        {"a new style and a typed field, Отмена",
         [](HWND d) {
             Press(d, "Button3");
             TypeInto(d, "cbKavrelField", L"T.Height");
             Press(d, "Button2");
         },
         {Pick({L"Карта 1", L"Подписи", L"Подпись"})},
         start},
        {"a new style, close box",
         [](HWND d) {
             Press(d, "Button3");
             PostMessageW(d, WM_CLOSE, 0, 0);
         },
         {Pick({L"Карта 1", L"Подписи", L"Подпись"})},
         start},
    };
    for (const Case& c : cases) {
        const Outcome out = Session(SampleProject(), start, c.setup, c.pickers);
        EXPECT_EQ(out.settings, c.expected) << c.label;
        EXPECT_TRUE(out.messages.empty()) << c.label;
        EXPECT_EQ(out.heldHostReferences, 0) << c.label;
    }
}

TEST_F(SettingsDialog, EachChooseButtonChangesItsOwnSettingAndDisplay) {
    struct Case {
        const char* button;
        std::u16string MarkSettings::*setting;
        int box;
    };
    const Case cases[] = {
        {"Button3", &MarkSettings::PointStyle, 0},    {"Button4", &MarkSettings::TextStyle, 1},
        {"Button5", &MarkSettings::RailStyle, 2},     {"Button6", &MarkSettings::RailTextStyle, 3},
        {"Button7", &MarkSettings::RailLineStyle, 4},
    };
    for (const Case& c : cases) {
        View after;
        std::vector<std::wstring> preselected;
        const Outcome out = Session(SampleProject(), MarkSettings{},
                                    [&](HWND d) {
                                        Press(d, c.button);
                                        after = Read(d);
                                        Press(d, "Button1");
                                    },
                                    {[&](HWND picker) {
                                        preselected = SelectedPath(picker);
                                        Pick({L"Карта 1", L"Рельеф", L"Кириллица"})(picker);
                                    }});
        // An empty setting preselects nothing; the tree selects its first
        // node itself as it takes the focus.
        EXPECT_EQ(preselected, std::vector<std::wstring>{L"Карта 1"}) << c.button;
        std::vector<std::wstring> boxes(5, kNone);
        boxes[c.box] = L"Рельеф\\Кириллица";
        EXPECT_EQ(after.boxes, boxes) << c.button;
        MarkSettings expected;
        expected.*c.setting = u"Рел-Т";  // the 8-bit identifier, converted back whole
        EXPECT_EQ(out.settings, expected) << c.button;
    }
}

TEST_F(SettingsDialog, TheLabelHeightIsShownAndTakenBackOnlyAsANumberAboveZero) {
    const auto type_height = [](const wchar_t* text) {
        return [text](HWND d) {
            SetWindowTextW(kavrel::testing::FindControl(d, "eLabelHeight"), text);
        };
    };
    struct Case {
        const char* label;
        std::vector<Step> steps;
        std::vector<std::wstring> messages;
        std::u16string stored;
    };
    const Case cases[] = {
        {"typed, OK", {type_height(L"1,2"), [](HWND d) { Press(d, "Button1"); }}, {}, u"1,2"},
        // The dialog stays open after the message; a good number then ends it.
        {"no number, then a number",
         {type_height(L"abc"), [](HWND d) { Press(d, "Button1"); }, type_height(L"0,8"),
          [](HWND d) { Press(d, "Button1"); }},
         {L"Неверный ввод числа abc"},
         u"0,8"},
        {"below zero, then cancelled",
         {type_height(L"-1"), [](HWND d) { Press(d, "Button1"); },
          [](HWND d) { Press(d, "Button2"); }},
         {L"Неверный ввод числа -1"},
         u"0,6"},
    };
    for (const Case& c : cases) {
        std::wstring shown;
        const Outcome out = Session(SampleProject(), Full(), [&](HWND d) {
            shown = ControlText(d, "eLabelHeight");
            for (const Step& step : c.steps) {
                step(d);
            }
        });
        EXPECT_EQ(shown, L"0,6") << c.label;
        EXPECT_EQ(out.messages, c.messages) << c.label;
        MarkSettings expected = Full();
        expected.LabelHeight = c.stored;
        EXPECT_EQ(out.settings, expected) << c.label;
    }
}

TEST_F(SettingsDialog, ANewLabelStyleRebuildsTheFieldListAndKeepsTheFieldText) {
    View before;
    View after;
    const Outcome out = Session(SampleProject(), Full(), ChooseLabelStyle(before, after),
                                {Pick({L"Карта 1", L"Подписи", L"Подпись"})});
    EXPECT_EQ(before.fields, (std::vector<std::wstring>{L"A.H", L"A.N", L"B.Z"}));
    EXPECT_EQ(after.boxes[1], L"Подписи\\Подпись");
    EXPECT_EQ(after.fields, std::vector<std::wstring>{L"T.Height"});
    EXPECT_EQ(after.fieldText, L"A.H");
    MarkSettings expected = Full();
    expected.TextStyle = u"S_T2";
    EXPECT_EQ(out.settings, expected);
}

TEST_F(SettingsDialog, ACancelledPickerChangesNothing) {
    struct Case {
        const char* label;
        Step cancel;
    };
    const Case cases[] = {
        {"Отмена", [](HWND p) { Press(p, "Button2"); }},
        {"close box", [](HWND p) { PostMessageW(p, WM_CLOSE, 0, 0); }},
        {"another node selected, then Отмена",
         [](HWND p) {
             SelectNode(p, {L"Карта 1", L"Подписи", L"Подпись"});
             Press(p, "Button2");
         }},
    };
    for (const Case& c : cases) {
        View before;
        View after;
        const Outcome out =
            Session(SampleProject(), Full(), ChooseLabelStyle(before, after), {c.cancel});
        EXPECT_EQ(after, before) << c.label;
        EXPECT_EQ(out.settings, Full()) << c.label;
    }
}

TEST_F(SettingsDialog, AHostFailureAtOpeningKeepsTheDialogDownAndThePanelsSettings) {
    struct Case {
        const char* operation;
        int nth;
    };
    const Case cases[] = {
        {"IHostApplication.GetDatabase", 1}, {"IHostDatabase.StyleExists", 3},
        {"IHostLayer.GetName", 1},           {"IHostSemTables.GetItem", 2},
        {"IHostSemField.GetName", 3},
    };
    for (const Case& c : cases) {
        const Outcome out = Session(
            SampleProject(), Full(), [](HWND d) { Press(d, "Button2"); }, {},
            [&] { host_->accounting().ArmFault(c.operation, c.nth, u"База недоступна"); });
        EXPECT_EQ(out.setupShown, 0) << c.operation;
        ASSERT_EQ(out.messages.size(), 1u) << c.operation;
        EXPECT_EQ(out.messages[0], L"База недоступна") << c.operation;
        EXPECT_EQ(out.settings, Full()) << c.operation;
        EXPECT_EQ(out.heldHostReferences, 0) << c.operation;
    }
}

TEST_F(SettingsDialog, AFailureRefreshingAfterAPickLeavesTheDialogOpenWithTheNewStyle) {
    bool openAfterFailure = false;
    const Outcome out =
        Session(SampleProject(), Full(),
                [&](HWND d) {
                    Press(d, "Button3");
                    openAfterFailure = IsWindowVisible(d);
                    Press(d, "Button1");
                },
                {[&](HWND picker) {
                    host_->accounting().ArmFault("IHostStyle.GetName", 1, u"Стиль занят");
                    Pick({L"Карта 1", L"Подписи", L"Подпись"})(picker);
                }});
    EXPECT_TRUE(openAfterFailure);
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0], L"Стиль занят");
    MarkSettings expected = Full();
    expected.PointStyle = u"S_T2";
    EXPECT_EQ(out.settings, expected);
}

}  // namespace
}  // namespace kavrel::test
