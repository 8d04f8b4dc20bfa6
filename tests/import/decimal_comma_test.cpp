// From the first import command on, the add-on reads and writes numbers with
// a decimal comma whatever the regional settings say. Seen through the editor
// panel's typed height step: a step the add-on cannot read is refused with a
// message box, one it reads changes the (here empty) selection silently.
//
// The program runs once under regional settings with a decimal point and once
// with a decimal comma; KAVREL_EXPECT_DECIMAL names the one it was started
// with, so that a run under the wrong settings fails instead of passing.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/import/dialog_probe.h"
#include "tests/import/host_session.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

wchar_t RegionalSeparator() {
    wchar_t text[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8);
    return text[0];
}

// The messages shown by one click of sbPlusE with `step` typed in ePlusV.
std::vector<std::wstring> StepUp(HWND panel, const std::wstring& step) {
    SetText(panel, "ePlusV", step);
    kavrel::testing::DialogWatcher watcher;
    Click(panel, "sbPlusE");
    PumpMessages();
    return watcher.MessageTexts();
}

struct StepRow {
    const char* label;
    const wchar_t* step;
    bool accepted;
};

void CheckSteps(HWND panel, const std::vector<StepRow>& rows) {
    for (const StepRow& row : rows) {
        SCOPED_TRACE(row.label);
        const std::vector<std::wstring> shown = StepUp(panel, row.step);
        if (row.accepted) {
            EXPECT_EQ(shown, std::vector<std::wstring>{});
        } else {
            EXPECT_EQ(shown,
                      std::vector<std::wstring>{std::wstring(L"Неверный ввод числа ") + row.step});
        }
    }
}

TEST(DecimalComma, TheImportCommandSwitchesNumberTextsToTheComma) {
    const char* expected = std::getenv("KAVREL_EXPECT_DECIMAL");
    ASSERT_NE(expected, nullptr) << "the run must say which regional separator it set";
    const wchar_t regional = RegionalSeparator();
    ASSERT_EQ(regional, static_cast<wchar_t>(expected[0])) << "regional settings not as intended";

    // The library is loaded here, so it takes the regional separator now.
    HostSession session(regional == L'.' ? u'.' : u',');
    ASSERT_EQ(session.Connect(), S_OK);
    ASSERT_EQ(session.Command(kEditorCommand), S_OK);
    HWND panel = kavrel::testing::FindChildByClass(session.Host().TaskPanelWindow(u"KAVREL"),
                                                   L"TfKavrelEditor");
    ASSERT_NE(panel, nullptr);

    const long redrawsBefore = session.Host().redraws;
    if (regional == L'.') {
        CheckSteps(panel, {
                              {"point before import", L"0.1", true},
                              {"comma before import", L"0,1", false},
                          });
    } else {
        CheckSteps(panel, {
                              {"comma before import", L"0,1", true},
                              {"point before import", L"0.1", false},
                          });
    }
    // An accepted step went to the host: the map was redrawn.
    EXPECT_EQ(session.Host().redraws, redrawsBefore + 1);

    ASSERT_EQ(session.Command(kImportCommand), S_OK);
    CheckSteps(panel, {
                          {"comma after import", L"0,1", true},
                          {"point after import", L"0.1", false},
                          {"whole number after import", L"2", true},
                          {"comma and exponent after import", L"1,5e1", true},
                      });
    // Closing the dialog does not bring the regional separator back.
    for (HWND dialog : ImportDialogs()) {
        CloseByUser(dialog);
    }
    PumpMessages();
    ASSERT_TRUE(ImportDialogs().empty());
    CheckSteps(panel, {
                          {"comma after the dialog closed", L"0,25", true},
                          {"point after the dialog closed", L"0.25", false},
                      });
}

}  // namespace
}  // namespace kavrel::test
