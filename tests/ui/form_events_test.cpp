// Handlers bound by control name, reached by window messages as a user's
// input reaches them, and exceptions that end a handler shown in a real
// message box.
#include <cstring>
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "base/errors.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"
#include "tests/ui/test_forms.h"
#include "ui/message_box.h"

namespace {

using kavrel::testing::DialogWatcher;
using uitest::HostWindow;
using uitest::Record;
using uitest::RecordingForm;

class FormEvents : public ::testing::Test {
  protected:
    void SetUp() override {
        form_ = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record_);
        for (const ui::ControlLayout& control : form_->Layout().controls) {
            for (ui::Event event : {ui::Event::Click, ui::Event::Change, ui::Event::DoubleClick}) {
                const char* suffix = event == ui::Event::Click    ? ".Click"
                                     : event == ui::Event::Change ? ".Change"
                                                                  : ".DoubleClick";
                try {
                    form_->Bind(control.name, event,
                                [this, control = control.name, name = control.name + suffix] {
                                    record_.events.push_back(name);
                                    // What the handler reads, at the moment it runs.
                                    textAtEvent_.push_back(form_->Text(control));
                                });
                } catch (const std::invalid_argument&) {
                    // This control raises no event of that kind.
                }
            }
        }
        form_->CreateChild(host_.get());
        record_.events.clear();  // the texts set at creation
    }

    HWND Control(const char* name) { return kavrel::testing::FindControl(form_->Handle(), name); }

    HostWindow host_;
    Record record_;
    std::vector<std::u16string> textAtEvent_;
    ui::FormPtr<RecordingForm> form_;
};

void NotifyParent(HWND control, WORD code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

TEST_F(FormEvents, UserInputReachesTheHandlerBoundToTheControlsName) {
    const HTREEITEM map = form_->TreeAdd("trv1", nullptr, u"Карта");
    const HTREEITEM layer = form_->TreeAdd("trv1", map, u"Рельеф");
    SendMessageW(Control("trv1"), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(map));
    record_.events.clear();

    struct Case {
        const char* label;
        std::function<void()> input;
        std::vector<std::string> events;
        std::function<bool()> state;  // what the handler could read afterwards
    };
    const Case cases[] = {
        {"a click on a push button",
         [&] { SendMessageW(Control("Button2"), BM_CLICK, 0, 0); },
         {"Button2.Click"},
         [] { return true; }},
        {"a click on an image button",
         [&] { SendMessageW(Control("sb45"), BM_CLICK, 0, 0); },
         {"sb45.Click"},
         [] { return true; }},
        {"typing into an edit",
         [&] { SetWindowTextW(Control("eRotAngle"), L"7,5"); },
         {"eRotAngle.Change"},
         [&] { return form_->Text("eRotAngle") == u"7,5"; }},
        {"typing into a labelled edit",
         [&] { SetWindowTextW(Control("leVDelta"), L"2"); },
         {"leVDelta.Change"},
         [&] { return form_->Text("leVDelta") == u"2"; }},
        {"ticking the check box",
         [&] { SendMessageW(Control("cbRelsy"), BM_CLICK, 0, 0); },
         {"cbRelsy.Click"},
         [&] { return form_->Checked("cbRelsy"); }},
        {"picking from a fixed list",
         [&] {
             SendMessageW(Control("cbMetod"), CB_SETCURSEL, 2, 0);
             NotifyParent(Control("cbMetod"), CBN_SELCHANGE);
         },
         {"cbMetod.Change"},
         [&] { return form_->ComboIndex("cbMetod") == 2; }},
        {"picking from an editable list as the session runner does",
         [&] {
             SendMessageW(Control("cbKavrelField"), CB_SETCURSEL, 1, 0);
             NotifyParent(Control("cbKavrelField"), CBN_SELCHANGE);
         },
         {"cbKavrelField.Change"},
         [&] { return textAtEvent_.back() == u"A.N"; }},
        {"picking the next entry of an editable list with the arrow key",
         [&] {
             SendMessageW(Control("cbKavrelField"), CB_SETCURSEL, 0, 0);
             const HWND edit = FindWindowExW(Control("cbKavrelField"), nullptr, L"Edit", nullptr);
             SendMessageW(edit, WM_KEYDOWN, VK_DOWN, 1);
         },
         {"cbKavrelField.Change"},
         [&] { return textAtEvent_.back() == u"A.N"; }},
        {"typing into an editable list, key by key",
         [&] {
             const HWND edit = FindWindowExW(Control("cbKavrelField"), nullptr, L"Edit", nullptr);
             SendMessageW(edit, EM_SETSEL, 0, -1);
             for (wchar_t key : std::wstring(L"T.H")) {
                 SendMessageW(edit, WM_CHAR, key, 1);
             }
         },
         {"cbKavrelField.Change", "cbKavrelField.Change", "cbKavrelField.Change"},
         [&] {
             return textAtEvent_ == std::vector<std::u16string>{u"T", u"T.", u"T.H"};
         }},
        {"typing into an editable list as the session runner does",
         [&] {
             SetWindowTextW(Control("cbKavrelField"), L"T.Height");
             NotifyParent(Control("cbKavrelField"), CBN_EDITCHANGE);
         },
         {"cbKavrelField.Change"},
         [&] { return form_->Text("cbKavrelField") == u"T.Height"; }},
        {"a program setting the list's text is no user change",
         [&] { form_->SetText("cbKavrelField", u"B.Z"); },
         {},
         [&] { return form_->Text("cbKavrelField") == u"B.Z"; }},
        {"selecting a tree node",
         [&] {
             SendMessageW(Control("trv1"), TVM_SELECTITEM, TVGN_CARET,
                          reinterpret_cast<LPARAM>(layer));
         },
         {"trv1.Change"},
         [&] { return form_->TreeSelection("trv1") == layer; }},
        {"a double click on a tree node",
         [&] {
             RECT item{};
             std::memcpy(&item, &layer, sizeof layer);
             SendMessageW(Control("trv1"), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item));
             const LPARAM at = MAKELPARAM(item.left + 2, (item.top + item.bottom) / 2);
             SendMessageW(Control("trv1"), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
         },
         {"trv1.DoubleClick"},
         [&] { return form_->TreeLevel("trv1", form_->TreeSelection("trv1")) == 1; }},
        {"a click on a disabled button does nothing",
         [&] {
             form_->SetEnabled("Button2", false);
             SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
             form_->SetEnabled("Button2", true);
         },
         {},
         [] { return true; }},
    };
    for (const Case& c : cases) {
        record_.events.clear();
        textAtEvent_.clear();
        c.input();
        EXPECT_EQ(record_.events, c.events) << c.label;
        EXPECT_TRUE(c.state()) << c.label;
    }
}

TEST_F(FormEvents, BindingRefusesUnknownNamesAndEventsTheControlDoesNotRaise) {
    struct Case {
        const char* label;
        const char* control;
        ui::Event event;
        const char* error;
    };
    const Case cases[] = {
        {"unknown name", "sb91", ui::Event::Click, "no control named sb91 to bind"},
        {"double click on a button", "Button1", ui::Event::DoubleClick,
         "control Button1 raises no event of that kind"},
        {"click on an edit", "eRotAngle", ui::Event::Click,
         "control eRotAngle raises no event of that kind"},
        {"change of a label", "Label1", ui::Event::Change,
         "control Label1 raises no event of that kind"},
    };
    for (const Case& c : cases) {
        try {
            form_->Bind(c.control, c.event, [] {});
            ADD_FAILURE() << c.label << ": accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), c.error) << c.label;
        }
    }
}

TEST_F(FormEvents, AnExceptionThatEndsAHandlerIsShownInAMessageBoxOwnedByTheTopLevelWindow) {
    ui::SetApplicationTitle(u"Работа с высотными отметками");
    struct Case {
        const char* label;
        std::function<void()> fail;
        const wchar_t* text;
    };
    const Case cases[] = {
        {"the add-on's own error", [] { throw kavrel::AddonError(u"Неправильный ввод угла!"); },
         L"Неправильный ввод угла!"},
        {"a host error", [] { throw kavrel::EHostCallError(u"Объект не найден", E_INVALIDARG); },
         L"Объект не найден"},
        {"a standard exception in UTF-8",
         [] {
             throw std::runtime_error(
                 "\xD0\x9D\xD0\xB5\xD1\x82 \xD0\xBA\xD0\xB0\xD1\x80\xD1\x82\xD1\x8B");
         },
         L"Нет карты"},
        {"anything else", [] { throw 42; }, L"Неизвестная ошибка"},
    };
    for (const Case& c : cases) {
        int ranAfter = 0;
        form_->Bind("Button2", ui::Event::Click, [&] {
            c.fail();
            ++ranAfter;
        });
        DialogWatcher watcher;
        SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
        ASSERT_EQ(watcher.MessageBoxes().size(), 1u) << c.label;
        const auto& box = watcher.MessageBoxes()[0];
        EXPECT_EQ(box.text, c.text) << c.label;
        EXPECT_EQ(box.title, L"Работа с высотными отметками") << c.label;
        EXPECT_EQ(box.owner, host_.get()) << c.label;
        EXPECT_FALSE(box.ownerEnabled) << c.label;
        EXPECT_EQ(ranAfter, 0) << c.label;
    }
    // The form goes on working after the box.
    form_->Bind("Button2", ui::Event::Click, [this] { record_.events.push_back("again"); });
    SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
    EXPECT_EQ(record_.events, std::vector<std::string>{"again"});
    EXPECT_TRUE(IsWindowEnabled(host_.get()));
}

TEST(FormErrors, AFailingPictureIsReportedOnceNotAtEveryRepaint) {
    HostWindow host;
    Record record;
    ui::FormLayout layout = uitest::PanelLayout();
    int paints = 0;
    layout.controls[0].painter = [&paints](HDC, const RECT&, bool, bool) {
        ++paints;
        throw std::runtime_error("no picture");
    };
    auto form = ui::MakeForm<RecordingForm>(layout, record);
    DialogWatcher watcher;
    form->CreateChild(host.get());
    for (int repaint = 0; repaint < 3; ++repaint) {
        RedrawWindow(form->Control("sb45"), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        uitest::PumpMessages();
    }
    EXPECT_GE(paints, 3);
    ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
    EXPECT_EQ(watcher.MessageBoxes()[0].text, L"no picture");
}

TEST(FormErrors, TheAddOnsOwnErrorIsShownWithItsText) {
    HostWindow host;
    Record record;
    auto form = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    form->Bind("Button1", ui::Event::Click, [] { throw kavrel::AddonError(u"Текст надстройки"); });
    form->CreateChild(host.get());
    DialogWatcher watcher;
    SendMessageW(form->Control("Button1"), BM_CLICK, 0, 0);
    ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
    EXPECT_EQ(watcher.MessageBoxes()[0].text, L"Текст надстройки");
}

TEST(FormErrors, AFailingCreateHandlerIsShownAndTheFormStillOpens) {
    HostWindow host;
    Record record;
    auto form = ui::MakeForm<RecordingForm>(uitest::PanelLayout(), record);
    form->ThrowOnCreate(true);
    DialogWatcher watcher;
    form->CreateChild(host.get());
    // The box ran its own loop inside the creation, where the watcher answered it.
    ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
    EXPECT_EQ(watcher.MessageBoxes()[0].text, L"'x' is not a valid boolean value");
    EXPECT_EQ(record.created, 1);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_NE(kavrel::testing::FindControl(form->Handle(), "Button1"), nullptr);
}

}  // namespace
