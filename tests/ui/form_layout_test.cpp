// Layout of built forms: places at the design resolution and scaled, fonts,
// names visible from outside, tab order, anchors and tooltips.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/support/window_finder.h"
#include "tests/ui/test_forms.h"
#include "ui/form_window_class.h"
#include "ui/layout_math.h"

namespace {

using kavrel::testing::ClassNameOf;
using kavrel::testing::FindChildByClass;
using kavrel::testing::FindControl;
using kavrel::testing::RectInParent;
using uitest::HostWindow;
using uitest::Record;
using uitest::RecordingForm;

struct PlaceCase {
    const char* name;
    RECT at96;
    RECT at144;
};

// Left, top, right, bottom in the form's client area.
const PlaceCase kPlaces[] = {
    {"sb45", {128, 8, 185, 49}, {192, 12, 278, 74}},
    {"sbMoveU", {136, 292, 159, 314}, {204, 438, 239, 471}},
    {"eRotAngle", {8, 164, 41, 185}, {12, 246, 62, 278}},
    {"Label1", {48, 164, 53, 177}, {72, 246, 80, 266}},
    {"ePlusV", {136, 220, 181, 241}, {204, 330, 272, 362}},
    {"cbRelsy", {8, 428, 105, 445}, {12, 642, 158, 668}},
    {"Button2", {145, 424, 220, 449}, {218, 636, 330, 674}},
    {"Button1", {145, 460, 220, 485}, {218, 690, 330, 728}},
    {"trv1", {8, 276, 98, 376}, {12, 414, 147, 564}},
    {"mData", {110, 380, 210, 420}, {165, 570, 315, 630}},
    {"ProgressBar1", {0, 479, 224, 492}, {0, 719, 336, 738}},
    {"leVDelta", {60, 196, 105, 217}, {90, 294, 158, 326}},
};

ui::FormPtr<RecordingForm> BuildPanel(HWND parent, Record& record, int dpi) {
    auto form = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    form->SetDpi(dpi);
    form->CreateChild(parent);
    return form;
}

void ExpectRect(const RECT& actual, const RECT& expected, const std::string& label) {
    EXPECT_EQ(actual.left, expected.left) << label;
    EXPECT_EQ(actual.top, expected.top) << label;
    EXPECT_EQ(actual.right, expected.right) << label;
    EXPECT_EQ(actual.bottom, expected.bottom) << label;
}

TEST(FormLayout, TheScreenOfTheTestsIsAtTheDesignResolution) {
    // Wine's default; the 96-dpi table below relies on it through SetDpi as well.
    EXPECT_EQ(ui::ScreenDpi(), 96);
    Record record;
    HostWindow host;
    auto form = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    EXPECT_EQ(form->Dpi(), 96);
}

TEST(FormLayout, ControlsSitAtTheirDesignPlacesAt96DpiAndScaleAt144) {
    HostWindow host;
    for (int dpi : {96, 144}) {
        Record record;
        auto form = BuildPanel(host.get(), record, dpi);
        const SIZE client = uitest::ClientSize(form->Handle());
        EXPECT_EQ(client.cx, dpi == 96 ? 224 : 336) << dpi;
        EXPECT_EQ(client.cy, dpi == 96 ? 492 : 738) << dpi;
        for (const PlaceCase& place : kPlaces) {
            const HWND control = FindControl(form->Handle(), place.name);
            ASSERT_NE(control, nullptr) << place.name;
            ExpectRect(RectInParent(control), dpi == 96 ? place.at96 : place.at144,
                       std::string(place.name) + " at " + std::to_string(dpi));
        }
    }
}

// At 144 dpi the box's natural height never is the designed one, whatever
// fonts the machine has, so the correction always runs there.
TEST(FormLayout, ComboBoxesKeepTheDesignedClosedHeight) {
    HostWindow host;
    for (int dpi : {96, 144}) {
        Record record;
        auto form = BuildPanel(host.get(), record, dpi);
        for (const char* name : {"cbMetod", "cbKavrelField"}) {
            const RECT place = RectInParent(form->Control(name));
            EXPECT_EQ(place.left, ui::ScaleToDpi(8, dpi)) << name << " at " << dpi;
            EXPECT_EQ(place.right - place.left, ui::ScaleToDpi(90, dpi)) << name << " at " << dpi;
            EXPECT_EQ(place.bottom - place.top, ui::ScaleToDpi(21, dpi)) << name << " at " << dpi;
        }
    }
}

TEST(FormLayout, LabelsOfLabelledEditsStandToTheLeftCentredOnTheEdit) {
    HostWindow host;
    Record record;
    auto form = BuildPanel(host.get(), record, 96);
    const HWND label = FindControl(form->Handle(), "leVDelta.EditLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(kavrel::testing::TextOf(label), L"Смещение ");
    const RECT place = RectInParent(label);
    EXPECT_EQ(place.right, 60 - 3);
    EXPECT_GT(place.right - place.left, 20);  // fits a word and a blank
    EXPECT_EQ(place.top, 196 + (21 - (place.bottom - place.top)) / 2);
}

TEST(FormLayout, EveryControlUsesTheFormFontScaledToTheScreen) {
    HostWindow host;
    for (int dpi : {96, 144}) {
        Record record;
        auto form = BuildPanel(host.get(), record, dpi);
        for (const ui::ControlLayout& control : form->Layout().controls) {
            const auto font = reinterpret_cast<HFONT>(
                SendMessageW(form->Control(control.name), WM_GETFONT, 0, 0));
            LOGFONTW described{};
            ASSERT_EQ(GetObjectW(font, sizeof described, &described), int(sizeof described))
                << control.name;
            EXPECT_STREQ(described.lfFaceName, L"Tahoma") << control.name;
            EXPECT_EQ(described.lfHeight, dpi == 96 ? -11 : -17) << control.name;
        }
    }
}

TEST(FormLayout, FormsAndControlsAreFoundByTheirDesignNamesFromOutside) {
    HostWindow host;
    Record record;
    auto form = BuildPanel(host.get(), record, 96);
    // The panel lives inside the host's window: found there by its type name.
    EXPECT_EQ(FindChildByClass(host.get(), L"TfUiTestPanel"), form->Handle());
    struct Case {
        const char* name;
        const wchar_t* className;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"sb45", L"Button", L""},
        {"eRotAngle", L"Edit", L"5"},
        {"Label1", L"Static", L"°"},
        {"cbRelsy", L"Button", L"Рельсы"},
        {"Button1", L"Button", L"Закрыть"},
        {"cbMetod", L"ComboBox", L""},
        {"cbKavrelField", L"ComboBox", L""},
        {"trv1", L"SysTreeView32", L""},
        {"leVDelta", L"Edit", L""},
        {"mData", L"Edit", L""},
        {"ProgressBar1", L"msctls_progress32", L""},
    };
    for (const Case& c : cases) {
        const HWND control = FindControl(form->Handle(), c.name);
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control, form->Control(c.name)) << c.name;
        EXPECT_EQ(ClassNameOf(control), c.className) << c.name;
        EXPECT_EQ(kavrel::testing::TextOf(control), c.text) << c.name;
    }
    EXPECT_EQ(FindControl(form->Handle(), "sb90"), nullptr);
    EXPECT_THROW(form->Control("sb90"), std::invalid_argument);
}

TEST(FormLayout, TabVisitsTheFocusableControlsInTheDeclaredOrder) {
    HostWindow host;
    Record record;
    auto form = BuildPanel(host.get(), record, 96);
    const char* expected[] = {"Button1",   "ePlusV",  "eMinusV",       "eMoveValue", "Button2",
                              "eRotAngle", "cbRelsy", "cbKavrelField", "Button1"};
    HWND at = GetNextDlgTabItem(form->Handle(), nullptr, FALSE);
    for (const char* name : expected) {
        EXPECT_EQ(at, form->Control(name)) << name;
        at = GetNextDlgTabItem(form->Handle(), at, FALSE);
    }
    // Image buttons, labels and controls without a position take no focus by Tab.
    for (const char* name : {"sb45", "Label1", "trv1", "mData"}) {
        EXPECT_EQ(GetWindowLongW(form->Control(name), GWL_STYLE) & WS_TABSTOP, 0) << name;
    }
}

TEST(FormLayout, TabMovesTheFocusInADockedPanelThatRunsInTheHostsLoop) {
    HostWindow host;
    Record record;
    auto form = BuildPanel(host.get(), record, 96);
    SetForegroundWindow(host.get());
    SetFocus(form->Control("eMoveValue"));
    struct Case {
        const char* label;
        bool shift;
        const char* focused;  // after the key
    };
    const Case cases[] = {
        {"forward", false, "Button2"},
        {"forward again", false, "eRotAngle"},
        {"back", true, "Button2"},
        {"forward to the check box", false, "eRotAngle"},
        {"", false, "cbRelsy"},
        {"into the editable combo box", false, "cbKavrelField"},
        {"out of the combo box's edit, round to the start", false, "Button1"},
        {"backwards round to the end", true, "cbKavrelField"},
    };
    for (const Case& c : cases) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = c.shift ? 0x80 : 0;
        SetKeyboardState(keys);
        // The host's loop: no IsDialogMessage, plain dispatch.
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        PostMessageW(GetFocus(), WM_CHAR, L'\t', 1);
        uitest::PumpMessages();
        const HWND focus = GetFocus();
        const HWND control = GetParent(focus) == form->Handle() ? focus : GetParent(focus);
        EXPECT_EQ(control, form->Control(c.focused)) << c.label;
    }
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    // The tab characters went nowhere.
    EXPECT_EQ(form->Text("cbKavrelField"), u"");
    EXPECT_EQ(form->Text("eRotAngle"), u"5");
}

TEST(FormLayout, AnchoredControlsKeepTheirDistancesWhenTheFormIsResized) {
    Record record;
    auto form = ui::MakeForm<RecordingForm>(uitest::SizeableLayout(), record);
    form->SetDpi(96);
    form->Show(nullptr);
    const SIZE designed = uitest::ClientSize(form->Handle());
    ASSERT_EQ(designed.cx, 697);
    ASSERT_EQ(designed.cy, 463);
    RECT outer{};
    GetWindowRect(form->Handle(), &outer);
    SetWindowPos(form->Handle(), nullptr, 0, 0, outer.right - outer.left + 100,
                 outer.bottom - outer.top + 50, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(uitest::ClientSize(form->Handle()).cx, 797);
    ASSERT_EQ(uitest::ClientSize(form->Handle()).cy, 513);
    struct Case {
        const char* name;
        RECT expected;
    };
    const Case cases[] = {
        {"cbMetod", {104, 8, 641, 29}},            // left top: stays
        {"mData", {8, 312, 789, 451}},             // all four: stretches both ways
        {"Button2", {708, 466, 783, 491}},         // right bottom: moves
        {"ProgressBar1", {0, 500, 797, 513}},      // along the bottom edge, full width
        {"leVectorLength", {220, 120, 341, 141}},  // right top: moves sideways
    };
    for (const Case& c : cases) {
        ExpectRect(RectInParent(form->Control(c.name)), c.expected, c.name);
    }
    // The label of a moved labelled edit moves with it.
    const RECT label = RectInParent(FindControl(form->Handle(), "leVectorLength.EditLabel"));
    EXPECT_EQ(label.right, 220 - 3);
}

TEST(FormLayout, ImageButtonsCarryTheirRussianTooltips) {
    HostWindow host;
    Record record;
    auto form = BuildPanel(host.get(), record, 96);
    // The tooltips window that knows a control's tool, among all of the thread's.
    auto tooltipOf = [&](HWND control, wchar_t* text) -> HWND {
        for (HWND window = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); window;
             window = FindWindowExW(nullptr, window, TOOLTIPS_CLASSW, nullptr)) {
            TOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = form->Handle();
            tool.uId = reinterpret_cast<UINT_PTR>(control);
            tool.lpszText = text;
            if (SendMessageW(window, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool))) {
                SendMessageW(window, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
                return window;
            }
        }
        return nullptr;
    };
    struct Case {
        const char* name;
        const wchar_t* tip;  // null: no tooltip
    };
    const Case cases[] = {
        {"sb45", L"Подпись под углом 45°"},
        {"sbMoveU", L"Сдвинуть подпись вверх"},
        {"Button1", nullptr},
        {"eRotAngle", nullptr},
    };
    HWND formTooltips = nullptr;
    for (const Case& c : cases) {
        wchar_t text[128] = {};
        const HWND tooltips = tooltipOf(form->Control(c.name), text);
        EXPECT_EQ(tooltips != nullptr, c.tip != nullptr) << c.name;
        if (c.tip) {
            EXPECT_STREQ(text, c.tip) << c.name;
            formTooltips = tooltips;
        }
    }
    ASSERT_NE(formTooltips, nullptr);
    EXPECT_EQ(SendMessageW(formTooltips, TTM_GETTOOLCOUNT, 0, 0), 2);
}

TEST(FormLayout, PicturesArePaintedAtTheSizeTheButtonIsShown) {
    HostWindow host;
    for (int dpi : {96, 144}) {
        std::vector<RECT> areas;
        ui::FormLayout layout = uitest::PanelLayout();
        layout.controls[0].painter = [&areas](HDC, const RECT& area, bool, bool) {
            areas.push_back(area);
        };
        Record record;
        auto form = ui::MakeForm<RecordingForm>(layout, record);
        form->SetDpi(dpi);
        form->CreateChild(host.get());
        areas.clear();
        RedrawWindow(form->Control("sb45"), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ASSERT_FALSE(areas.empty()) << dpi;
        // Inside the button's two-pixel edge.
        const RECT area = areas.back();
        EXPECT_EQ(area.right - area.left, dpi == 96 ? 53 : 82) << dpi;
        EXPECT_EQ(area.bottom - area.top, dpi == 96 ? 37 : 58) << dpi;
    }
}

}  // namespace
