// The add-on forms base inside the library's own process image: the owner a
// window gets, and the bookkeeping of registration, in the cases the host
// cannot produce (no current add-on, forms destroyed or deleted directly).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "addon/library_lifecycle.h"
#include "frame/custom_addon.h"
#include "frame/dll_form.h"
#include "frame/library_refs.h"
#include "import/import_dialog.h"
#include "tests/import/dialog_probe.h"
#include "tests/support/window_finder.h"
#include "ui/resource_count.h"

namespace kavrel::test {
namespace {

// The library's objects as they are after it is loaded: one add-on, current.
class FormsBaseTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { ASSERT_TRUE(LibraryLoad()); }
    static void TearDownTestSuite() { LibraryUnload(); }

    void SetUp() override {
        ASSERT_NE(CurrentAddon, nullptr);
        addon = CurrentAddon;
        ASSERT_TRUE(addon->Forms.empty());
        formsBefore = ui::LiveFormObjects();
        windowsBefore = ui::LiveFormWindows();
        owner = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
        other = CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        ASSERT_NE(other, nullptr);
    }
    void TearDown() override {
        CurrentAddon = addon;
        HostMainWindow = nullptr;
        addon->CloseForms();
        PumpMessages();
        DestroyWindow(owner);
        DestroyWindow(other);
        EXPECT_EQ(ui::LiveFormObjects(), formsBefore) << "a form was leaked";
        EXPECT_EQ(ui::LiveFormWindows(), windowsBefore) << "a window was leaked";
    }

    bool Registered(const IAddonForm* form) const {
        return std::find(addon->Forms.begin(), addon->Forms.end(), form) != addon->Forms.end();
    }

    TM2CustomAddon* addon = nullptr;
    HWND owner = nullptr;
    HWND other = nullptr;
    int formsBefore = 0;
    int windowsBefore = 0;
};

TEST_F(FormsBaseTest, TheWindowIsOwnedByTheHostsMainWindowWhileOneIsKnown) {
    const struct {
        const char* label;
        bool hostKnown;
        bool callerGivesOwner;
        bool ownedByHost;  // else by the caller's window, or by none when it gives none
    } rows[] = {
        {"host known, no owner given", true, false, true},
        {"host known, caller's owner given", true, true, true},
        {"no host, no owner given", false, false, false},
        {"no host, caller's owner given", false, true, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        HostMainWindow = row.hostKnown ? owner : nullptr;
        ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
        form->Show(row.callerGivesOwner ? other : nullptr);
        HWND expected = row.ownedByHost ? owner : (row.callerGivesOwner ? other : nullptr);
        EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), expected);
        EXPECT_EQ(TDllForm::WindowOwner(row.callerGivesOwner ? other : nullptr), expected);
    }
}

TEST_F(FormsBaseTest, TheOwnerIsChosenWhenTheWindowIsBuiltNotWhenTheFormIsMade) {
    HostMainWindow = nullptr;
    ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
    HostMainWindow = owner;  // connected between the making and the showing
    form->Show();
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), owner);
    HostMainWindow = other;  // a built window keeps its owner
    form->Show();
    EXPECT_EQ(GetWindow(form->Handle(), GW_OWNER), owner);
}

TEST_F(FormsBaseTest, AFormMadeWithNoCurrentAddonRegistersNowhere) {
    CurrentAddon = nullptr;
    ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
    CurrentAddon = addon;
    form->Show();
    EXPECT_EQ(form->Addon, nullptr);
    EXPECT_TRUE(addon->Forms.empty());

    addon->CloseForms();
    PumpMessages();
    EXPECT_TRUE(IsWindow(form->Handle())) << "CloseForms touched a form it does not own";
    form.reset();
    EXPECT_TRUE(addon->Forms.empty());
}

TEST_F(FormsBaseTest, AFormLeavesTheListHoweverItGoes) {
    const struct {
        const char* label;
        void (*end)(ui::FormPtr<TMainForm>&);
    } rows[] = {
        {"closed by the user",
         [](ui::FormPtr<TMainForm>& form) {
             HWND window = form->Handle();
             ui::Form::OwnItself(std::move(form));
             CloseByUser(window);
             PumpMessages();
         }},
        {"destroyed while owning itself",
         [](ui::FormPtr<TMainForm>& form) {
             TMainForm* self = ui::Form::OwnItself(std::move(form));
             self->Destroy();
         }},
        {"destroyed and then deleted by its holder",
         [](ui::FormPtr<TMainForm>& form) {
             form->Destroy();
             form.reset();
         }},
        {"deleted with its window", [](ui::FormPtr<TMainForm>& form) { form.reset(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const int live = ui::LiveFormObjects();
        ui::FormPtr<TMainForm> keep = ui::MakeForm<TMainForm>();
        ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
        keep->Show();
        form->Show();
        const IAddonForm* gone = form.get();
        ASSERT_EQ(addon->Forms, (std::vector<IAddonForm*>{keep.get(), form.get()}));
        row.end(form);
        PumpMessages();
        EXPECT_FALSE(Registered(gone));
        EXPECT_EQ(addon->Forms, std::vector<IAddonForm*>{keep.get()});
        EXPECT_EQ(ui::LiveFormObjects(), live + 1);
        // The list is sound: CloseForms reaches only the form still there.
        keep->Show();
        addon->CloseForms();
        EXPECT_EQ(keep->Handle(), nullptr);
        EXPECT_EQ(keep->Addon, nullptr);
    }
}

TEST_F(FormsBaseTest, CloseFormsDestroysLastFirstAndDeletesFormsThatOwnThemselves) {
    std::vector<HWND> opened;
    for (int i = 0; i < 3; ++i) {
        ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
        form->Show();
        opened.push_back(form->Handle());
        ui::Form::OwnItself(std::move(form));
    }
    ASSERT_EQ(addon->Forms.size(), 3u);
    const int live = ui::LiveFormObjects();
    DestroyRecorder recorder;
    addon->CloseForms();
    EXPECT_EQ(recorder.Destroyed(), (std::vector<HWND>{opened[2], opened[1], opened[0]}));
    EXPECT_TRUE(addon->Forms.empty());
    EXPECT_EQ(ui::LiveFormObjects(), live - 3);
}

TEST_F(FormsBaseTest, AFormWhoseWindowIsNotBuiltIsTakenOutButLeftToItsHolder) {
    ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
    ASSERT_TRUE(Registered(form.get()));
    addon->CloseForms();
    EXPECT_TRUE(addon->Forms.empty());
    EXPECT_EQ(form->Addon, nullptr);
    // Deleting it later touches no list.
    ui::FormPtr<TMainForm> next = ui::MakeForm<TMainForm>();
    form.reset();
    EXPECT_EQ(addon->Forms, std::vector<IAddonForm*>{next.get()});
}

// The controls the import added to the dialog: their texts whole, clear
// of their neighbours, inside the window, at 96 dpi and at 150 %.
TEST_F(FormsBaseTest, TheImportsOwnControlsFitAt96And144Dpi) {
    const auto textWidth = [](HWND control) {
        const HDC dc = GetDC(control);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
        RECT area{};
        const std::wstring text = kavrel::testing::TextOf(control);
        DrawTextW(dc, text.c_str(), -1, &area, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        return area.right - area.left;
    };
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
        form->SetDpi(dpi);
        form->Show(owner);
        const HWND dialog = form->Handle();
        const RECT undo = kavrel::testing::RectInParent(Control(dialog, "btnUndoImport"));
        const RECT import = kavrel::testing::RectInParent(Control(dialog, "Button2"));
        const HWND label = EditLabel(dialog, "leTolerance");
        const RECT labelAt = kavrel::testing::RectInParent(label);
        const RECT tolerance = kavrel::testing::RectInParent(Control(dialog, "leTolerance"));
        const RECT scale = kavrel::testing::RectInParent(Control(dialog, "leForZoomScale"));
        RECT client{};
        GetClientRect(dialog, &client);
        // A push button's face leaves a few pixels of edge on each side.
        EXPECT_LE(textWidth(Control(dialog, "btnUndoImport")) + 8, undo.right - undo.left);
        EXPECT_LT(undo.right, import.left);
        EXPECT_EQ(undo.top, import.top);
        EXPECT_GE(labelAt.right - labelAt.left, textWidth(label));
        EXPECT_GT(labelAt.left, scale.right);
        EXPECT_LE(labelAt.right, tolerance.left);
        EXPECT_LE(tolerance.right, client.right);
    }
}

}  // namespace
}  // namespace kavrel::test
