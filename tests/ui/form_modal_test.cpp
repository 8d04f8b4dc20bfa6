// Modal dialogs: the result they end with, the owner disabled while they are
// up, navigation by Tab, Enter and Escape, and nested dialogs.
#include <gtest/gtest.h>

#include <functional>

#include "base/errors.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"
#include "tests/ui/test_forms.h"
#include "ui/resource_count.h"

namespace {

using kavrel::testing::DialogWatcher;
using kavrel::testing::FindControl;
using uitest::HostWindow;
using uitest::Record;
using uitest::RecordingForm;

void Click(HWND dialog, const char* name) {
    SendMessageW(FindControl(dialog, name), BM_CLICK, 0, 0);
}

void PostKey(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

TEST(ModalDialog, EndsWithTheResultOfTheWayItWasClosed) {
    struct Case {
        const char* label;
        std::function<void(HWND dialog)> close;
        int result;
    };
    const Case cases[] = {
        {"OK button", [](HWND d) { Click(d, "Button1"); }, ui::kModalOk},
        {"Cancel button", [](HWND d) { Click(d, "Button2"); }, ui::kModalCancel},
        {"close box", [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }, ui::kModalCancel},
        {"Enter clicks the default button",
         [](HWND d) { PostKey(FindControl(d, "eTextStyle"), VK_RETURN); }, ui::kModalOk},
        {"Escape clicks the cancel button",
         [](HWND d) { PostKey(FindControl(d, "eTextStyle"), VK_ESCAPE); }, ui::kModalCancel},
        {"a handler's own result", [](HWND d) { Click(d, "Button3"); }, 7},
    };
    HostWindow host;
    for (const Case& c : cases) {
        Record record;
        auto dialog = ui::MakeForm<RecordingForm>(uitest::DialogLayout(), record);
        dialog->Bind("Button3", ui::Event::Click, [&] { dialog->SetModalResult(7); });
        DialogWatcher watcher;
        watcher.OnWindow(L"TfUiTestDialog", c.close);
        EXPECT_EQ(dialog->ShowModal(host.get()), c.result) << c.label;
        EXPECT_EQ(dialog->ModalResult(), c.result) << c.label;
        EXPECT_FALSE(IsWindowVisible(dialog->Handle())) << c.label;
        EXPECT_TRUE(IsWindow(dialog->Handle())) << c.label;  // hidden, freed by its owner
        EXPECT_EQ(record.shown, 1) << c.label;
        EXPECT_EQ(record.closeRequests, 1) << c.label;
    }
}

TEST(ModalDialog, DisablesTheOwnersTopLevelWindowWhileUpAndEnablesItAfter) {
    HostWindow host;
    Record panelRecord;
    auto panel = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), panelRecord);
    panel->CreateChild(host.get());
    Record record;
    auto dialog = ui::MakeForm<RecordingForm>(uitest::DialogLayout(), record);
    bool ownerEnabledWhileUp = true;
    HWND ownerWhileUp = nullptr;
    HWND focusWhileUp = nullptr;
    DialogWatcher watcher;
    watcher.OnWindow(L"TfUiTestDialog", [&](HWND d) {
        ownerEnabledWhileUp = IsWindowEnabled(host.get());
        ownerWhileUp = GetWindow(d, GW_OWNER);
        focusWhileUp = GetFocus();
        Click(d, "Button1");
    });
    // Opened from a button of the docked panel, as the settings dialog is.
    EXPECT_EQ(dialog->ShowModal(panel->Handle()), ui::kModalOk);
    EXPECT_FALSE(ownerEnabledWhileUp);
    EXPECT_EQ(ownerWhileUp, host.get());
    EXPECT_EQ(focusWhileUp, dialog->Control("Button1"));  // the first in the tab order
    EXPECT_TRUE(IsWindowEnabled(host.get()));
}

TEST(ModalDialog, TabMovesTheFocusInTheDeclaredOrder) {
    HostWindow host;
    Record record;
    auto dialog = ui::MakeForm<RecordingForm>(uitest::DialogLayout(), record);
    DialogWatcher watcher;
    watcher.OnWindow(L"TfUiTestDialog", [&](HWND d) {
        for (int step = 0; step < 5; ++step) {
            PostKey(GetFocus(), VK_TAB);
            PostMessageW(d, uitest::kProbeFocus, 0, 0);
        }
        PostMessageW(d, WM_CLOSE, 0, 0);
    });
    dialog->ShowModal(host.get());
    const std::vector<HWND> expected = {dialog->Control("Button2"), dialog->Control("ePointStyle"),
                                        dialog->Control("Button3"), dialog->Control("eTextStyle"),
                                        dialog->Control("Button1")};
    EXPECT_EQ(record.focusAtProbe, expected);
}

TEST(ModalDialog, AHandlerCanWithdrawTheButtonsPresetResultAndKeepTheDialogOpen) {
    HostWindow host;
    Record record;
    auto dialog = ui::MakeForm<RecordingForm>(uitest::DialogLayout(), record);
    dialog->Bind("Button1", ui::Event::Click, [&] {
        EXPECT_EQ(dialog->ModalResult(), ui::kModalOk);  // set before the handler runs
        dialog->SetModalResult(ui::kModalNone);
    });
    bool openAfterOk = false;
    DialogWatcher watcher;
    watcher.OnWindow(L"TfUiTestDialog", [&](HWND d) {
        Click(d, "Button1");
        PostMessageW(d, uitest::kProbeFocus, 0, 0);  // handled by the loop, which then goes on
        PostMessageW(d, WM_CLOSE, 0, 0);
        openAfterOk = IsWindowVisible(d);
    });
    EXPECT_EQ(dialog->ShowModal(host.get()), ui::kModalCancel);
    EXPECT_TRUE(openAfterOk);
    EXPECT_EQ(record.focusAtProbe.size(), 1u);
}

TEST(ModalDialog, ACloseHandlerThatSaysNoneKeepsTheModalLoopRunning) {
    HostWindow host;
    Record record;
    auto dialog =
        ui::MakeForm<RecordingForm>(uitest::DialogLayout(), record, ui::CloseAction::None);
    dialog->Bind("Button2", ui::Event::Click,
                 [&] { dialog->SetCloseAction(ui::CloseAction::Hide); });
    DialogWatcher watcher;
    watcher.OnWindow(L"TfUiTestDialog", [&](HWND d) {
        PostMessageW(d, WM_CLOSE, 0, 0);             // refused by the close handler
        PostMessageW(d, uitest::kProbeFocus, 0, 0);  // still handled by the dialog's loop
        PostMessageW(FindControl(d, "Button2"), BM_CLICK, 0, 0);  // now accepted
    });
    EXPECT_EQ(dialog->ShowModal(host.get()), ui::kModalCancel);
    EXPECT_EQ(record.focusAtProbe.size(), 1u);
    EXPECT_EQ(record.closeRequests, 2);
}

TEST(ModalDialog, NestedDialogsDisableEachOwnerInTurn) {
    HostWindow host;
    Record outerRecord;
    Record innerRecord;
    auto outer = ui::MakeForm<RecordingForm>(uitest::DialogLayout(), outerRecord);
    ui::FormLayout innerLayout = uitest::DialogLayout();
    innerLayout.typeName = u"TfUiTestPicker";
    int innerResult = 0;
    bool hostEnabledInside = true;
    bool outerEnabledInside = true;
    outer->Bind("Button3", ui::Event::Click, [&] {
        auto inner = ui::MakeForm<RecordingForm>(innerLayout, innerRecord);
        innerResult = inner->ShowModal(outer->Handle());
        outer->SetText("eTextStyle", innerResult == ui::kModalOk ? u"выбран" : u"");
    });
    DialogWatcher watcher;
    watcher.OnWindow(L"TfUiTestDialog",
                     [](HWND d) { PostMessageW(FindControl(d, "Button3"), BM_CLICK, 0, 0); });
    watcher.OnWindow(L"TfUiTestPicker", [&](HWND d) {
        hostEnabledInside = IsWindowEnabled(host.get());
        outerEnabledInside = IsWindowEnabled(outer->Handle());
        Click(d, "Button1");
        // Back in the outer dialog, confirm it.
        PostMessageW(FindControl(outer->Handle(), "Button1"), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(outer->ShowModal(host.get()), ui::kModalOk);
    EXPECT_EQ(innerResult, ui::kModalOk);
    EXPECT_FALSE(hostEnabledInside);
    EXPECT_FALSE(outerEnabledInside);
    EXPECT_EQ(outer->Text("eTextStyle"), u"выбран");
    EXPECT_TRUE(IsWindowEnabled(host.get()));
    EXPECT_EQ(innerRecord.destroyed, 1);
}

TEST(ModalDialog, AFailingShowHandlerLeavesTheDialogDownAndTheOwnerEnabled) {
    HostWindow host;
    Record record;
    auto dialog = ui::MakeForm<RecordingForm>(uitest::DialogLayout(), record);
    dialog->ThrowOnShow(true);
    try {
        dialog->ShowModal(host.get());
        ADD_FAILURE() << "the failure of the show handler was lost";
    } catch (const kavrel::AddonError& error) {
        EXPECT_EQ(error.message(), u"Ошибка при открытии");
    }
    EXPECT_TRUE(IsWindowEnabled(host.get()));
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    // It can be shown again once the handler succeeds.
    dialog->ThrowOnShow(false);
    DialogWatcher watcher;
    watcher.OnWindow(L"TfUiTestDialog", [](HWND d) { Click(d, "Button2"); });
    EXPECT_EQ(dialog->ShowModal(host.get()), ui::kModalCancel);
}

TEST(ModalDialog, DesignedPlaceFrameAndClientSize) {
    HostWindow host;
    Record record;
    auto dialog = ui::MakeForm<RecordingForm>(uitest::DialogLayout(), record);
    RECT outer{};
    SIZE client{};
    LONG style = 0;
    DialogWatcher watcher;
    watcher.OnWindow(L"TfUiTestDialog", [&](HWND d) {
        GetWindowRect(d, &outer);
        client = uitest::ClientSize(d);
        style = GetWindowLongW(d, GWL_STYLE);
        Click(d, "Button2");
    });
    dialog->ShowModal(host.get());
    EXPECT_EQ(outer.left, 0);
    EXPECT_EQ(outer.top, 0);
    EXPECT_EQ(client.cx, 477);
    EXPECT_EQ(client.cy, 382);
    EXPECT_NE(style & WS_CAPTION, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);  // a fixed dialog frame
    EXPECT_EQ(kavrel::testing::TextOf(dialog->Handle()), L"Настройка редактора отметок");
}

}  // namespace
