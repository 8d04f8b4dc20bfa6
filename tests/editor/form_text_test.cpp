// Every form of the add-on shows all of its text, in the fonts the screen
// gives it: the panel, the settings dialog with its style picker, and the
// import dialog, opened as the host opens them. CTest runs this at 96 and at
// 144 pixels per inch.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/gdi.h"
#include "tests/editor/editor_fixture.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/text_fit.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

class FormTextTest : public EditorTest {
  protected:
    void ExpectAllTextShown(const char* form, HWND window) {
        ASSERT_TRUE(window) << form << " did not open";
        for (const std::string& problem : testing::TextThatDoesNotFit(window)) {
            ADD_FAILURE() << form << " at " << dpi_ << " dpi: " << problem;
        }
        ++forms_;
    }
    int dpi_ = [] {
        WindowDC screen(nullptr);
        return GetDeviceCaps(screen.get(), LOGPIXELSY);
    }();
    int forms_ = 0;
};

TEST_F(FormTextTest, EveryFormShowsAllOfItsText) {
    if (const char* expected = std::getenv("KAVREL_EXPECT_DPI")) {
        ASSERT_EQ(dpi_, std::atoi(expected)) << "the prefix's resolution was not set";
    }
    OpenPanelOn(MarkProject("[]", kMarkPreferences));
    ExpectAllTextShown("TfKavrelEditor", Panel());

    // The settings dialog, and the picker from its first "Выбрать...".
    testing::DialogWatcher watcher;
    watcher.OnWindow(L"TfSelectStyle", [&](HWND picker) {
        Pump();
        ExpectAllTextShown("TfSelectStyle", picker);
        PostMessageW(picker, WM_CLOSE, 0, 0);
    });
    watcher.OnWindow(L"TfKavrelSetup", [&](HWND setup) {
        Pump();
        ExpectAllTextShown("TfKavrelSetup", setup);
        SendMessageW(testing::FindControl(setup, "Button3"), BM_CLICK, 0, 0);
        PostMessageW(setup, WM_CLOSE, 0, 0);
    });
    SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
    Pump();

    // Command 1: the import dialog, a window of its own.
    ASSERT_EQ(addon_->ExecuteMacro(1, 0), S_OK);
    Pump();
    ExpectAllTextShown("TMainForm", testing::FindThreadWindow(L"TMainForm"));
    EXPECT_EQ(forms_, 4);
}

}  // namespace
}  // namespace kavrel::test
