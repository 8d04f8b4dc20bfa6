// The settings dialog and the style picker opened from the panel, in the
// stand-in host: display names, field list and tree come from the host's two
// layers, and the panel takes the settings back only on OK.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/editor/editor_fixture.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

std::wstring ControlText(HWND form, const char* name) {
    return testing::TextOf(testing::FindControl(form, name));
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.emplace_back(text);
    }
    return items;
}

std::wstring ItemText(HWND tree, HTREEITEM item) {
    wchar_t text[512] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = 512;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return text;
}

// The node at the path of texts from a root, or null.
HTREEITEM FindNode(HWND tree, const std::vector<std::wstring>& path) {
    HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    HTREEITEM found = nullptr;
    for (const std::wstring& text : path) {
        while (item && ItemText(tree, item) != text) {
            item = reinterpret_cast<HTREEITEM>(
                SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
        }
        if (!item) {
            return nullptr;
        }
        found = item;
        item = reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    }
    return found;
}

// Every node text, depth first, with two blanks of indent a level.
std::vector<std::wstring> TreeOutline(HWND tree) {
    std::vector<std::wstring> lines;
    std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM item, int depth) {
        for (; item; item = reinterpret_cast<HTREEITEM>(SendMessageW(
                         tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
            lines.push_back(std::wstring(2 * depth, L' ') + ItemText(tree, item));
            walk(reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD,
                                                          reinterpret_cast<LPARAM>(item))),
                 depth + 1);
        }
    };
    walk(reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), 0);
    return lines;
}

void Press(HWND form, const char* button) {
    SendMessageW(testing::FindControl(form, button), BM_CLICK, 0, 0);
}

class SettingsInHostTest : public EditorTest {};

TEST_F(SettingsInHostTest, TheDialogShowsTheHostsNamesAndCancelHandsNothingBack) {
    OpenPanelOn(MarkProject("[]", R"({"kavreleditor_pstyle": "SP", "kavreleditor_tstyle": "ST",
        "kavreleditor_tfield": "T.Height", "kavreleditor_rlstyle": "RL",
        "kavreleditor_rstyle": "GONE"})"));
    std::vector<std::pair<const char*, std::wstring>> shown;
    std::vector<std::wstring> fields;
    {
        testing::DialogWatcher watcher;
        watcher.OnWindow(L"TfKavrelSetup", [&](HWND setup) {
            for (const char* name : {"ePointStyle", "eTextStyle", "eRelsStyleName",
                                     "eRTextStyleName", "eRLStyleName", "cbKavrelField"}) {
                shown.emplace_back(name, ControlText(setup, name));
            }
            fields = ComboItems(testing::FindControl(setup, "cbKavrelField"));
            Press(setup, "Button2");
        });
        SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
    }
    const std::vector<std::pair<const char*, std::wstring>> expected = {
        {"ePointStyle", L"Рельеф\\Точка"},           {"eTextStyle", L"Рельеф\\Подпись"},
        {"eRelsStyleName", L"стиль не выбран"},      {"eRTextStyleName", L"стиль не выбран"},
        {"eRLStyleName", L"Железная дорога\\Рельс"}, {"cbKavrelField", L"T.Height"},
    };
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(fields, (std::vector<std::wstring>{L"A.H", L"A.N"}));
    ClosePanel();
    EXPECT_EQ(Preference(u"kavreleditor_rstyle"), u"GONE") << "kept as it was";
    EXPECT_EQ(Preference(u"kavreleditor_tfield"), u"T.Height");
}

TEST_F(SettingsInHostTest, AStyleChosenInThePickerReachesThePanelOnOk) {
    OpenPanelOn(MarkProject("[]", kMarkPreferences));
    std::vector<std::wstring> outline;
    bool preselected = false;
    std::wstring after_pick;
    {
        testing::DialogWatcher watcher;
        watcher.OnWindow(L"TfSelectStyle", [&](HWND picker) {
            const HWND tree = testing::FindControl(picker, "trv1");
            outline = TreeOutline(tree);
            // The label style is preselected.
            preselected =
                reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0)) ==
                FindNode(tree, {L"План", L"Рельеф", L"Подпись"});
            // A layer node cannot be confirmed; a style node can.
            SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET,
                         reinterpret_cast<LPARAM>(FindNode(tree, {L"План", L"Рельеф"})));
            Press(picker, "Button1");
            EXPECT_TRUE(IsWindowVisible(picker)) << "OK on a layer keeps the picker open";
            SendMessageW(
                tree, TVM_SELECTITEM, TVGN_CARET,
                reinterpret_cast<LPARAM>(FindNode(tree, {L"План", L"Рельеф", L"Подпись рельса"})));
            Press(picker, "Button1");
        });
        watcher.OnWindow(L"TfKavrelSetup", [&](HWND setup) {
            Press(setup, "Button4");  // choose the label style
            after_pick = ControlText(setup, "eTextStyle");
            Press(setup, "Button1");
        });
        SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(outline,
              (std::vector<std::wstring>{L"План", L"  Рельеф", L"    Точка", L"    Подпись",
                                         L"    Рельс отметки", L"    Подпись рельса", L"    Прочее",
                                         L"  Железная дорога", L"    Рельс"}));
    EXPECT_TRUE(preselected);
    EXPECT_EQ(after_pick, L"Рельеф\\Подпись рельса");
    ClosePanel();
    EXPECT_EQ(Preference(u"kavreleditor_tstyle"), u"SRT");
    EXPECT_EQ(Preference(u"kavreleditor_pstyle"), u"SP");
}

TEST_F(SettingsInHostTest, AnSdkFailureWhileBuildingTheTreeLeavesTheNodesBuiltSoFar) {
    OpenPanelOn(MarkProject("[]", kMarkPreferences));
    testing::DialogWatcher watcher;
    std::vector<std::wstring> outline;
    watcher.OnWindow(L"TfSelectStyle", [&](HWND picker) {
        outline = TreeOutline(testing::FindControl(picker, "trv1"));
        Press(picker, "Button2");
    });
    watcher.OnWindow(L"TfKavrelSetup", [&](HWND setup) {
        host_->accounting().ArmFault("IM2GISDatabase.GetLayerInfo", 2, u"Слой недоступен");
        Press(setup, "Button3");
        Press(setup, "Button2");
    });
    SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
    ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
    EXPECT_EQ(watcher.MessageBoxes()[0].text, L"Слой недоступен. [IM2GISDatabase.GetLayerInfo]");
    EXPECT_EQ(outline, (std::vector<std::wstring>{L"План", L"  Рельеф", L"    Точка",
                                                  L"    Подпись", L"    Рельс отметки",
                                                  L"    Подпись рельса", L"    Прочее"}));
}

}  // namespace
}  // namespace kavrel::test
