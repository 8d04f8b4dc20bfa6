// Every user action run once for each host call it makes, with that call
// failing: the host's text reaches the user (or the host, for the operations
// the host calls), no reference is left, what was committed stays and nothing
// else changes, and the add-on takes the next action as if nothing happened.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <iostream>
#include <vector>

#include "editor/panel_buttons.h"
#include "tests/reliability/session_fixture.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

using kavrel::PanelButton;

const char16_t kCaption[] = u"Работа с высотными отметками";
const wchar_t kNoMarkStyles[] = L"Не выбраны стили отметок: задайте их в настройке.";

struct ButtonCase {
    const char* button;
    bool rails;
};

class FaultSweepTest : public SessionTest {
  protected:
    void OpenOn(const char* objects, const char* selection) {
        OpenPanelOn(MarkProject(objects, kMarkPreferences, selection));
    }

    // One failure of an operation the host calls: reported through
    // IHostErrorInfo.SetError with the add-on's caption, or shown in a box.
    void ExpectOneReport(const std::u16string& description, HRESULT hr,
                         const std::vector<std::wstring>& shown, std::size_t errors_before) {
        const auto& reported = host_->reported_errors();
        const std::size_t reports = reported.size() - errors_before;
        EXPECT_EQ(reports + shown.size(), 1u) << "messages: " << Joined(shown);
        if (reports == 1) {
            EXPECT_EQ(hr, E_FAIL);
            EXPECT_EQ(reported.back().source, kCaption);
            EXPECT_TRUE(ShowsHostError(reported.back().message, description));
        } else if (shown.size() == 1) {
            EXPECT_EQ(hr, S_OK);
            EXPECT_TRUE(ShowsHostError(shown[0], description)) << Joined(shown);
        }
    }
};

TEST_F(FaultSweepTest, EveryPanelButtonUnderEveryFailingHostCall) {
    // Every button of the panel's table that changes the map, in the mode it
    // works in; the rails check box; a preset in rails mode, which rebuilds.
    std::vector<ButtonCase> cases;
    for (const PanelButton& b : PanelButtons()) {
        if (ChangesTheMap(b)) {
            cases.push_back({b.name, WorksOnRailMarks(b)});
        }
    }
    cases.push_back({"cbRelsy", false});
    cases.push_back({"sb45", true});
    OpenOn(kRailObjects, R"(["R1", "R2"])");
    long points = 0;
    for (const ButtonCase& c : cases) {
        SetChecked("cbRelsy", c.rails);
        const std::string project =
            c.rails ? MarkProject(kRailObjects, kMarkPreferences, R"(["R1", "R2"])")
                    : MarkProject(kPlainObjects, kMarkPreferences, R"(["P2"])");
        const std::string label = std::string(c.button) + (c.rails ? " in rails mode" : "");
        const long n = SweepPanelAction(label, project, [&] { return QuickClick(c.button); });
        if (std::string(c.button) != "cbRelsy") {
            EXPECT_GT(n, 5) << label << " made almost no host calls";
        }
        points += n;
        SetChecked("cbRelsy", false);
    }
    std::cout << "[sweep] panel buttons: " << cases.size() << " actions, " << points
              << " fault points" << std::endl;
    EndSessionCleanly("after the panel sweep");
}

// "Отменить" after a clean click of each kind of record (vertices, heights,
// a rail stroke and its label, labels placed with a redraw): the failing call
// ends the undo with the host's text, and the next click and undo work.
TEST_F(FaultSweepTest, UndoOfEachKindOfClickUnderEveryFailingHostCall) {
    struct UndoCase {
        const char* button;
        bool rails;
        const char* objects;
        const char* selection;
    };
    // Well-formed marks only: an undo that leaves a rebuilt object alone says
    // so. R2's label lies across the rail: placement moves it.
    const UndoCase cases[] = {
        {"sb45", false, kPlainObjects, R"(["P1", "U1"])"},
        {"sbMoveU", false, kPlainObjects, R"(["P1", "U1"])"},
        {"SpeedButton2", false, kPlainObjects, R"(["P1", "U1"])"},
        {"SpeedButton1", true, kRailObjects, R"(["R1"])"},
        {"btnPlaceLabels", false, kRailObjects, R"(["R2"])"},
    };
    OpenOn(kRailObjects, R"(["R1"])");
    long points = 0;
    for (const UndoCase& c : cases) {
        SetChecked("cbRelsy", c.rails);
        const std::string project = MarkProject(c.objects, kMarkPreferences, c.selection);
        const std::string label = std::string("undo of ") + c.button;
        const long n = SweepPanelAction(
            label, project, [&] { return QuickClick("btnUndo"); },
            [&] { EXPECT_TRUE(QuickClick(c.button).empty()) << label; });
        EXPECT_GT(n, 5) << label << " made almost no host calls";
        points += n;
        SetChecked("cbRelsy", false);
    }
    std::cout << "[sweep] undo: " << std::size(cases) << " actions, " << points << " fault points"
              << std::endl;
    EndSessionCleanly("after the undo sweep");
}

// The first node on the way down the picker's tree that has no children,
// selected and confirmed; "Отмена" if the picker is still up after that.
void PickFirstLeaf(HWND picker) {
    const HWND tree = testing::FindControl(picker, "trv1");
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    while (item) {
        SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        const auto child = reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
        if (!child) {
            break;
        }
        item = child;
    }
    if (item) {
        SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    }
    SendMessageW(testing::FindControl(picker, "Button1"), BM_CLICK, 0, 0);
    if (IsWindow(picker) && IsWindowVisible(picker)) {
        SendMessageW(testing::FindControl(picker, "Button2"), BM_CLICK, 0, 0);
    }
}

TEST_F(FaultSweepTest, TheSettingsDialogWithItsStylePicker) {
    const std::string project = MarkProject(kPlainObjects, kMarkPreferences, R"(["P1", "P2"])");
    OpenPanelOn(project);
    int setups = 0;
    int pickers = 0;
    const auto open_settings = [&] {
        testing::DialogWatcher watcher;
        // The point style's "Выбрать..." opens the picker; "ОК" then closes the dialog.
        watcher.OnWindow(L"TfKavrelSetup", [&](HWND dialog) {
            ++setups;
            SendMessageW(testing::FindControl(dialog, "Button3"), BM_CLICK, 0, 0);
            if (IsWindow(dialog) && IsWindowVisible(dialog)) {
                SendMessageW(testing::FindControl(dialog, "Button1"), BM_CLICK, 0, 0);
            }
        });
        watcher.OnWindow(L"TfSelectStyle", [&](HWND picker) {
            ++pickers;
            PickFirstLeaf(picker);
        });
        SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
        Pump();
        return watcher.MessageTexts();
    };
    // Every run without a failure, the clean one and each one after a
    // failure, shows the dialog and the picker once each.
    const auto act = [&] {
        setups = 0;
        pickers = 0;
        auto texts = open_settings();
        if (texts.empty()) {
            EXPECT_EQ(setups, 1);
            EXPECT_EQ(pickers, 1);
        }
        return texts;
    };
    const long n = SweepPanelAction("settings dialog", project, act);
    EXPECT_GT(n, 5);
    // The panel still works on its settings: a preset with the point style picked.
    ResetModel(project);
    EXPECT_TRUE(Click("sb0").empty());
    std::cout << "[sweep] settings dialog with the picker: " << n << " fault points" << std::endl;
    EndSessionCleanly("after the settings sweep");
}

// Opening the panel fetches the map objects once; when the host fails just
// then, the panel asks again at the next click instead of staying unusable.
TEST_F(FaultSweepTest, APanelOpenedWithoutMapObjectsFetchesThemAtTheNextClick) {
    struct Case {
        const char* label;
        const char* operation;
    };
    const Case cases[] = {{"active database", "IHostApplication.GetDatabase"},
                          {"map objects", "IHostDatabase.GetMapObjects"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        StartHost(MarkProject(kPlainObjects, kMarkPreferences, R"(["P1"])"));
        ConnectAddon();
        host_->accounting().ArmFault(c.operation, 1, u"База недоступна");
        OpenPanel();
        EXPECT_EQ(connect_messages_, std::vector<std::wstring>{L"База недоступна"});
        connect_messages_.clear();
        const long fetches = Calls("IHostDatabase.GetMapObjects");
        EXPECT_TRUE(Click("sb0").empty());
        EXPECT_EQ(Calls("IHostDatabase.GetMapObjects"), fetches + 1);
        EXPECT_TRUE(Click("sb45").empty());
        EXPECT_EQ(Calls("IHostDatabase.GetMapObjects"), fetches + 1) << "fetched once, then kept";
        EXPECT_NEAR(Committed(u"P1").shapes.at(1).parts.at(0).vertices.at(0).y, 200.2, 1e-9);
        EndSessionCleanly(c.label);
    }
}

// The host's own sequence, each run in a fresh session: load, connect, ask for
// the commands, open the panel, click, close it, let the add-on go.
TEST_F(FaultSweepTest, ConnectingOpeningClosingAndUnloading) {
    const std::string project = MarkProject(kPlainObjects, kMarkPreferences, R"(["P1"])");
    struct Stage {
        const char* label;
        // Brings the session to the point just before the action.
        std::function<void()> setup;
        // The action; its HRESULT if the host called the add-on, with the texts shown.
        std::function<HRESULT(std::vector<std::wstring>&)> act;
        // Whether the host connects again before its next action.
        bool reconnect;
    };
    auto connect_and_list = [&](std::vector<std::wstring>& shown) {
        HRESULT hr = S_OK;
        shown = Watch([&] {
            hr = addon_->Connect(host_->HostObject());
            if (SUCCEEDED(hr)) {
                ComPtr<IM2MacroAttrsList> commands;
                hr = addon_->GetMacroAttrs(commands.put());
            }
        });
        return hr;
    };
    auto command = [&](long id) {
        return [&, id](std::vector<std::wstring>& shown) {
            HRESULT hr = S_OK;
            shown = Watch([&] { hr = addon_->ExecuteMacro(id, 0); });
            return hr;
        };
    };
    const Stage stages[] = {
        {"connect and list the commands", [&] { CreateAddon(); }, connect_and_list, true},
        {"command 2 opens the panel", [&] { ConnectAddon(); }, command(2), false},
        {"command 2 with the panel open",
         [&] {
             ConnectAddon();
             OpenPanel();
         },
         command(2), false},
        {"command 1 opens the import dialog", [&] { ConnectAddon(); }, command(1), false},
        {"closing the panel",
         [&] {
             ConnectAddon();
             OpenPanel();
         },
         [&](std::vector<std::wstring>& shown) {
             shown = ClosePanel();
             return S_OK;
         },
         false},
        {"disconnect with the panel and an import dialog open",
         [&] {
             ConnectAddon();
             OpenPanel();
             ASSERT_EQ(addon_->ExecuteMacro(1, 0), S_OK);
         },
         [&](std::vector<std::wstring>& shown) {
             HRESULT hr = S_OK;
             shown = Watch([&] { hr = addon_->Disconnect(); });
             return hr;
         },
         true},
        {"unloading with the panel open",
         [&] {
             ConnectAddon();
             OpenPanel();
         },
         [&](std::vector<std::wstring>& shown) {
             shown = Watch([&] {
                 addon_->Disconnect();
                 addon_.reset();
                 FreeLibrary(module_);
                 module_ = nullptr;
             });
             return S_OK;
         },
         true},
    };
    long points = 0;
    for (const Stage& stage : stages) {
        SCOPED_TRACE(stage.label);
        StartHost(project);
        stage.setup();
        host::Accounting& accounting = host_->accounting();
        const long start = accounting.TotalCalls();
        accounting.set_keep_log(true);
        const std::size_t log_start = accounting.log().size();
        std::vector<std::wstring> shown;
        EXPECT_EQ(stage.act(shown), S_OK);
        EXPECT_TRUE(shown.empty()) << Joined(shown);
        const long n = accounting.TotalCalls() - start;
        const std::vector<std::string> operations(accounting.log().begin() + log_start,
                                                  accounting.log().end());
        const std::map<std::u16string, std::u16string> clean_preferences = Model().preferences;
        EndSessionCleanly(std::string(stage.label) + ", clean");
        for (long k = 1; k <= n; ++k) {
            const std::string& operation = operations.at(k - 1);
            SCOPED_TRACE("failing call " + std::to_string(k) + " of " + std::to_string(n) + ": " +
                         operation);
            StartHost(project);
            stage.setup();
            const std::map<std::u16string, std::u16string> preferences_before = Model().preferences;
            const std::u16string description = FaultText(k);
            const std::size_t errors_before = host_->reported_errors().size();
            host_->accounting().ArmFault("*", k, description);
            const HRESULT hr = stage.act(shown);
            ExpectOneReport(description, hr, shown, errors_before);
            // At most the one preference whose write failed keeps its old value.
            int kept_old = 0;
            for (const auto& [key, value] : clean_preferences) {
                const auto now = Model().preferences.find(key);
                const auto old = preferences_before.find(key);
                const bool absent = now == Model().preferences.end();
                if (absent || now->second != value) {
                    ++kept_old;
                    const bool as_before = old == preferences_before.end()
                                               ? absent
                                               : !absent && old->second == now->second;
                    EXPECT_TRUE(as_before) << "a preference neither saved nor left as it was";
                }
            }
            EXPECT_LE(kept_old, 1);
            // The add-on takes the next action: the panel opens (or is there) and a
            // preset commits the selected mark.
            if (!addon_) {
                CreateAddon();
            }
            std::vector<std::wstring> retry;
            if (stage.reconnect && (connect_and_list(retry) != S_OK || !retry.empty())) {
                ADD_FAILURE() << "connecting again failed: " << Joined(retry);
            }
            retry = Watch([&] { EXPECT_EQ(addon_->ExecuteMacro(2, 0), S_OK); });
            EXPECT_TRUE(retry.empty()) << "opening the panel again: " << Joined(retry);
            if (Panel()) {
                const std::string committed = CommittedSnapshot(Model());
                const auto clicked = Click("sb0");
                // A panel that could not read its mark styles when it opened
                // says so; any other panel works.
                const bool styles_unread = operation == "IHostPreferences.ReadString" ||
                                           operation == "IHostApplication.GetPreferences";
                if (styles_unread && !clicked.empty()) {
                    EXPECT_EQ(clicked, std::vector<std::wstring>{kNoMarkStyles});
                } else {
                    EXPECT_TRUE(clicked.empty()) << Joined(clicked);
                    EXPECT_NE(CommittedSnapshot(Model()), committed)
                        << "the preset changed nothing";
                }
            } else {
                ADD_FAILURE() << "no panel after the failure";
            }
            EndSessionCleanly(std::string(stage.label) + ", failing call " + std::to_string(k));
        }
        std::cout << "[sweep] " << stage.label << ": " << n << " fault points" << std::endl;
        points += n;
        Tally::Actions(1);
        Tally::FaultPoints(n);
    }
    std::cout << "[sweep] host sequence: " << std::size(stages) << " actions, " << points
              << " fault points" << std::endl;
}

}  // namespace
}  // namespace kavrel::test
