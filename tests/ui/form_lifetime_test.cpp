// Where forms live and when they go: child forms inside a foreign window,
// owned modeless windows, close-and-free after the current message, private
// posted messages, and nothing left behind.
#include <gtest/gtest.h>

#include "base/module.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"
#include "tests/ui/test_forms.h"
#include "ui/form_window_class.h"
#include "ui/resource_count.h"

namespace {

using uitest::HostWindow;
using uitest::Record;
using uitest::RecordingForm;

constexpr UINT kReleasePanel = 0x401;

struct Baseline {
    int objects = ui::LiveFormObjects();
    int windows = ui::LiveFormWindows();
    int gdi = ui::LiveGdiObjects();
    void ExpectBack(const char* label) const {
        EXPECT_EQ(ui::LiveFormObjects(), objects) << label;
        EXPECT_EQ(ui::LiveFormWindows(), windows) << label;
        EXPECT_EQ(ui::LiveGdiObjects(), gdi) << label;
    }
};

TEST(FormLifetime, AChildFormIsABorderlessVisibleChildOfTheForeignWindow) {
    HostWindow host;
    Record record;
    auto form = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    form->CreateChild(host.get());
    const HWND window = form->Handle();
    EXPECT_EQ(GetParent(window), host.get());
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_NE(style & WS_CHILD, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_DLGFRAME), 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(record.created, 1);
    EXPECT_EQ(record.shown, 0);  // shown by creation, not by Show
}

TEST(FormLifetime, AModelessFormIsOwnedByTheTopLevelWindowOfItsOwnerAndLeavesItEnabled) {
    HostWindow host;
    Record record;
    auto panel = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    panel->CreateChild(host.get());
    auto form = ui::MakeForm<RecordingForm>(uitest::SizeableLayout(), record);
    form->Show(panel->Handle());  // a child as owner: its top-level window owns the form
    const HWND window = form->Handle();
    EXPECT_EQ(GetWindow(window, GW_OWNER), host.get());
    EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(IsWindowEnabled(host.get()));
    EXPECT_EQ(record.shown, 1);
    EXPECT_EQ(kavrel::testing::FindThreadWindow(L"TfUiTestSizeable"), window);
    EXPECT_THROW(ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record)->Show(host.get()),
                 std::logic_error);
}

TEST(FormLifetime, CloseFreesTheFormAfterTheCurrentMessageNeverInsideTheClick) {
    const Baseline baseline;
    HostWindow host;
    Record record;
    auto built = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record, ui::CloseAction::Free);
    built->CreateChild(host.get());
    RecordingForm* form = ui::Form::OwnItself(std::move(built));
    const HWND window = form->Handle();
    const HWND edit = form->Control("eRotAngle");

    bool wholeInsideClick = false;
    form->Bind("Button1", ui::Event::Click, [&] {
        form->Close();
        // The form object and its windows are whole until the click ends.
        wholeInsideClick = IsWindow(window) && form->Text("eRotAngle") == u"5" &&
                           record.destroyed == 0 && ui::LiveFormObjects() == baseline.objects + 1;
        form->PostPrivate(kReleasePanel);
    });
    kavrel::testing::DialogWatcher watcher;  // a failure inside the click would show a box
    SendMessageW(kavrel::testing::FindControl(window, "Button1"), BM_CLICK, 0, 0);
    EXPECT_TRUE(watcher.MessageBoxes().empty());
    EXPECT_TRUE(wholeInsideClick);
    EXPECT_EQ(record.closeRequests, 1);
    EXPECT_TRUE(IsWindow(window));  // still there: the click has just ended

    uitest::PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(record.destroyed, 1);
    // Posted after the release, the private message found no window any more.
    EXPECT_TRUE(record.messages.empty());
    host.Destroy();
    baseline.ExpectBack("after close and free");
}

TEST(FormLifetime, PrivateMessagesArriveWithTheirParametersInOrder) {
    HostWindow host;
    Record record;
    auto form = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    form->CreateChild(host.get());
    form->PostPrivate(kReleasePanel, 7, 9);
    form->PostPrivate(WM_APP + 3);
    EXPECT_TRUE(record.messages.empty());  // posted, not sent
    uitest::PumpMessages();
    EXPECT_EQ(record.messages, (std::vector<UINT>{kReleasePanel, WM_APP + 3}));
    EXPECT_EQ(record.messageParams[0], (std::pair<WPARAM, LPARAM>{7, 9}));
    EXPECT_THROW(form->PostPrivate(WM_CLOSE), std::invalid_argument);
    EXPECT_THROW(form->PostPrivate(0xC000), std::invalid_argument);
}

TEST(FormLifetime, CloseActionsDecideWhatACloseRequestDoes) {
    struct Case {
        const char* label;
        ui::CloseAction action;
        bool visible;
        bool window;
    };
    const Case cases[] = {
        {"none keeps the form open", ui::CloseAction::None, true, true},
        {"hide keeps the form hidden", ui::CloseAction::Hide, false, true},
        {"free destroys the window", ui::CloseAction::Free, false, false},
    };
    for (const Case& c : cases) {
        Record record;
        auto form = ui::MakeForm<RecordingForm>(uitest::SizeableLayout(), record, c.action);
        form->Show(nullptr);
        const HWND window = form->Handle();
        SendMessageW(window, WM_CLOSE, 0, 0);  // the frame's close box
        uitest::PumpMessages();
        EXPECT_EQ(record.closeRequests, 1) << c.label;
        EXPECT_EQ(IsWindow(window) != FALSE, c.window) << c.label;
        EXPECT_EQ(IsWindowVisible(window) != FALSE, c.visible) << c.label;
        EXPECT_EQ(form->Handle() != nullptr, c.window) << c.label;
    }
}

TEST(FormLifetime, DestroyingTheForeignParentDeletesAFormThatOwnsItself) {
    const Baseline baseline;
    HostWindow host;
    Record record;
    auto built = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    built->CreateChild(host.get());
    ui::Form::OwnItself(std::move(built));
    EXPECT_EQ(ui::LiveFormObjects(), baseline.objects + 1);
    host.Destroy();
    EXPECT_EQ(record.destroyed, 1);
    baseline.ExpectBack("after the parent went");
}

TEST(FormLifetime, AFormDestroyedFromItsOwnHandlerIsDeletedWhenTheHandlerEnds) {
    const Baseline baseline;
    HostWindow host;
    Record record;
    auto built = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    built->CreateChild(host.get());
    RecordingForm* form = ui::Form::OwnItself(std::move(built));
    int objectsInside = 0;
    form->Bind("Button2", ui::Event::Click, [&] {
        form->Destroy();
        objectsInside = ui::LiveFormObjects();
    });
    SendMessageW(form->Control("Button2"), BM_CLICK, 0, 0);
    EXPECT_EQ(objectsInside, baseline.objects + 1);
    EXPECT_EQ(record.destroyed, 1);
    baseline.ExpectBack("after destroying itself");
}

TEST(FormLifetime, AFormOwnsItselfOnlyOnceItsWindowIsBuilt) {
    Record record;
    auto form = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    EXPECT_THROW(ui::Form::OwnItself(std::move(form)), std::logic_error);
}

TEST(FormLifetime, BuildingAndFreeingFormsLeavesNoWindowFontOrPenBehind) {
    const Baseline baseline;
    HostWindow host;
    std::vector<HFONT> fonts;
    std::vector<HWND> windows;
    for (int round = 0; round < 10; ++round) {
        Record record;
        ui::FormLayout layout = uitest::PanelLayout();
        layout.controls[0].painter = [](HDC dc, const RECT& area, bool, bool) {
            ui::Pen pen = ui::MakePen(PS_SOLID, 2, RGB(0, 0, 128));
            ui::Brush brush = ui::MakeBrush(RGB(255, 255, 0));
            kavrel::SelectedObject selectedPen(dc, pen.get());
            kavrel::SelectedObject selectedBrush(dc, brush.get());
            Ellipse(dc, area.left, area.top, area.right, area.bottom);
        };
        {
            auto panel = ui::MakeForm<RecordingForm>(layout, record);
            panel->CreateChild(host.get());
            RedrawWindow(panel->Control("sb45"), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            auto modeless = ui::MakeForm<RecordingForm>(uitest::SizeableLayout(), record);
            modeless->Show(host.get());
            auto dialog = ui::MakeForm<RecordingForm>(uitest::DialogLayout(), record);
            dialog->Show(host.get());
            for (const ui::Form* form :
                 {static_cast<ui::Form*>(panel.get()), static_cast<ui::Form*>(modeless.get()),
                  static_cast<ui::Form*>(dialog.get())}) {
                fonts.push_back(
                    reinterpret_cast<HFONT>(SendMessageW(form->Handle(), WM_GETFONT, 0, 0)));
                fonts.push_back(reinterpret_cast<HFONT>(SendMessageW(
                    form->Control(form->Layout().controls.back().name), WM_GETFONT, 0, 0)));
                windows.push_back(form->Handle());
                windows.push_back(form->Control(form->Layout().controls.front().name));
            }
            EXPECT_EQ(ui::LiveFormObjects(), baseline.objects + 3);
            EXPECT_EQ(ui::LiveFormWindows(), baseline.windows + 3);
            EXPECT_EQ(ui::LiveGdiObjects(), baseline.gdi + 3);  // one font per form
        }
        EXPECT_EQ(record.destroyed, 3);
    }
    baseline.ExpectBack("after ten rounds");
    for (HWND window : windows) {
        EXPECT_FALSE(IsWindow(window));
    }
    for (HFONT font : fonts) {
        if (font) {
            EXPECT_EQ(GetObjectType(font), 0u) << "a form's font outlived it";
        }
    }
}

TEST(FormLifetime, ClassesGoWhenUnregisteredAndComeBackWithTheNextForm) {
    HostWindow host;
    Record record;
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    {
        auto form = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
        form->CreateChild(host.get());
        ui::UnregisterFormClasses();  // a class with a window stays
        EXPECT_TRUE(GetClassInfoExW(kavrel::CodeModule(), L"TfUiTestPanel", &info));
    }
    ui::UnregisterFormClasses();
    EXPECT_FALSE(GetClassInfoExW(kavrel::CodeModule(), L"TfUiTestPanel", &info));
    auto again = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    again->CreateChild(host.get());
    EXPECT_EQ(kavrel::testing::ClassNameOf(again->Handle()), L"TfUiTestPanel");
}

}  // namespace
