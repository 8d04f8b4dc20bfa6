// The import dialog as the user meets it: command 1 of the add-on, run by the
// stand-in host, opens it; its controls are looked at and driven with window
// messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/import/dialog_probe.h"
#include "tests/import/host_session.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

using kavrel::testing::RectInParent;
using kavrel::testing::TextOf;

// A session connected to the host, every dialog it opened gone at its end.
class ImportDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(session.Connect(), S_OK);
        ASSERT_TRUE(ImportDialogs().empty());
    }
    void TearDown() override {
        session.Disconnect();
        PumpMessages();
        EXPECT_TRUE(ImportDialogs().empty()) << "a dialog outlived the host connection";
    }

    HWND Open() {
        const auto before = ImportDialogs();
        EXPECT_EQ(session.Command(kImportCommand), S_OK);
        const auto after = ImportDialogs();
        EXPECT_EQ(after.size(), before.size() + 1);
        return after.empty() ? nullptr : after.back();
    }

    HostSession session;
};

bool Enabled(HWND dialog, const std::string& name) {
    return IsWindowEnabled(Control(dialog, name)) != FALSE;
}

// --- the window ---------------------------------------------------------------

TEST_F(ImportDialogTest, OpensAsAModelessWindowOwnedByTheHostsMainWindow) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), session.MainWindow());
    EXPECT_EQ(GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD, 0);
    EXPECT_EQ(TextOf(dialog), L"Импорт высотных отметок");
    // Modeless: the host's window still takes input.
    EXPECT_TRUE(IsWindowEnabled(session.MainWindow()));
    // A sizeable frame.
    EXPECT_NE(GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME, 0);

    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 697);
    EXPECT_EQ(client.bottom, 463);
    RECT outer{};
    GetWindowRect(dialog, &outer);
    EXPECT_EQ(outer.left, 297);
    EXPECT_EQ(outer.top, 316);
}

struct Placed {
    const char* label;
    const char* control;
    RECT place;  // left, top, right, bottom in the client area; bottom 0: not checked
    const wchar_t* text;
};

TEST_F(ImportDialogTest, EveryControlStandsAtItsPlaceWithItsCaption) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const Placed rows[] = {
        {"method label", "Label4", {16, 8, 0, 0}, L"Метод импорта"},
        {"method", "cbMetod", {104, 8, 641, 0}, L"Как точки"},
        {"layer label", "Label5", {16, 40, 0, 0}, L"Слой"},
        {"layer", "cbLayer", {104, 40, 641, 0}, L""},
        {"point style label", "Label1", {16, 64, 0, 0}, L"Стиль точек"},
        {"point style", "cbPointStyle", {104, 64, 641, 0}, L""},
        {"label style label", "Label6", {16, 88, 0, 0}, L"Стиль подписей"},
        {"label style", "cbTExtStyle", {104, 88, 641, 0}, L""},
        {"vector length", "leVectorLength", {120, 120, 241, 141}, L""},
        {"scale", "leForZoomScale", {336, 120, 457, 141}, L""},
        {"tolerance", "leTolerance", {632, 120, 689, 141}, L"0,05"},
        {"vertical offset", "leVDelta", {216, 152, 281, 173}, L""},
        {"horizontal offset", "leHDelta", {504, 152, 561, 173}, L""},
        {"number field label", "Label2", {16, 184, 0, 0}, L"Поле номера точки"},
        {"number field", "cbNumField", {128, 184, 633, 0}, L""},
        {"height field label", "Label3", {16, 208, 0, 0}, L"Поле высоты"},
        {"height field", "cbZField", {128, 208, 633, 0}, L""},
        {"X column label", "Label7", {16, 240, 0, 0}, L"Столбец X"},
        {"X column", "cbXColumn", {136, 240, 345, 0}, L""},
        {"Y column label", "Label8", {368, 240, 0, 0}, L"Столбец Y"},
        {"Y column", "cbYColumn", {456, 240, 665, 0}, L""},
        {"number column label", "Label9", {16, 264, 0, 0}, L"Столбец номер точки"},
        {"number column", "cbNColumn", {136, 264, 345, 0}, L""},
        {"height column label", "Label10", {368, 264, 0, 0}, L"Столбец высоты"},
        {"height column", "cbZColumn", {456, 264, 665, 0}, L""},
        {"header switch", "cbNoFirstLine", {16, 288, 217, 305}, L"Первая строка - заголовок"},
        {"text", "mData", {8, 312, 689, 401}, L""},
        {"import", "Button2", {608, 416, 683, 441}, L"Импорт"},
        {"progress", "ProgressBar1", {0, 450, 697, 463}, L""},
    };
    for (const Placed& row : rows) {
        SCOPED_TRACE(row.label);
        HWND control = Control(dialog, row.control);
        ASSERT_NE(control, nullptr);
        const RECT at = RectInParent(control);
        EXPECT_EQ(at.left, row.place.left);
        EXPECT_EQ(at.top, row.place.top);
        if (row.place.right) {
            EXPECT_EQ(at.right, row.place.right);
        }
        if (row.place.bottom) {
            EXPECT_EQ(at.bottom, row.place.bottom);
        }
        EXPECT_EQ(TextOf(control), row.text);
        EXPECT_TRUE(IsWindowEnabled(control));
    }
    // Beside "Импорт", disabled while there is no import to take back.
    HWND undo = Control(dialog, "btnUndoImport");
    EXPECT_EQ(TextOf(undo), L"Отменить импорт");
    const RECT undoAt = RectInParent(undo);
    EXPECT_EQ(undoAt.top, 416);
    EXPECT_LT(undoAt.right, RectInParent(Control(dialog, "Button2")).left);
    EXPECT_FALSE(IsWindowEnabled(undo));
}

TEST_F(ImportDialogTest, LabelsOfTheEditsStandToTheirLeftWithTheirTrailingBlanks) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    const struct {
        const char* edit;
        const wchar_t* label;
    } rows[] = {
        {"leVectorLength", L"Длина вектора, мм "},
        {"leForZoomScale", L"Для масштаба 1:"},
        {"leTolerance", L"Допуск совпадения, м"},
        {"leVDelta", L"Смещение подписи по вертикали, мм "},
        {"leHDelta", L"Смещение подписи по горизонтали, мм "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.edit);
        HWND label = EditLabel(dialog, row.edit);
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(TextOf(label), row.label);
        const RECT labelAt = RectInParent(label);
        const RECT editAt = RectInParent(Control(dialog, row.edit));
        EXPECT_LE(labelAt.right, editAt.left);
        // Clear of the edit before it on the same row.
        if (std::string(row.edit) == "leTolerance") {
            EXPECT_GT(labelAt.left, RectInParent(Control(dialog, "leForZoomScale")).right);
        }
        EXPECT_LT(labelAt.top, editAt.bottom);
        EXPECT_GT(labelAt.bottom, editAt.top);
    }
}

TEST_F(ImportDialogTest, ListsAndTextStartAsDesigned) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ComboItems(dialog, "cbMetod"),
              (std::vector<std::wstring>{L"Как точки", L"Точки и подпись текста", L"Как вектор"}));
    EXPECT_EQ(ComboIndex(dialog, "cbMetod"), 0);
    for (const char* combo : {"cbLayer", "cbPointStyle", "cbTExtStyle", "cbNumField", "cbZField",
                              "cbXColumn", "cbYColumn", "cbNColumn", "cbZColumn"}) {
        SCOPED_TRACE(combo);
        EXPECT_TRUE(ComboItems(dialog, combo).empty());
        EXPECT_EQ(ComboIndex(dialog, combo), CB_ERR);
        // A fixed list: the user can only pick.
        EXPECT_EQ(GetWindowLongW(Control(dialog, combo), GWL_STYLE) & 0x3, CBS_DROPDOWNLIST);
    }
    EXPECT_EQ(SendMessageW(Control(dialog, "cbNoFirstLine"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    const LONG memo = GetWindowLongW(Control(dialog, "mData"), GWL_STYLE);
    EXPECT_NE(memo & ES_MULTILINE, 0);
    EXPECT_NE(memo & ES_AUTOHSCROLL, 0) << "lines must not wrap";
    EXPECT_EQ(SendMessageW(Control(dialog, "ProgressBar1"), PBM_GETPOS, 0, 0), 0);
}

TEST_F(ImportDialogTest, TabGoesThroughTheControlsInTheirOrder) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    // "Отменить импорт" is disabled while there is nothing to take back:
    // Tab passes it by.
    const std::vector<std::string> expected = {
        "Button2",        "cbMetod",        "cbLayer",     "cbPointStyle", "cbTExtStyle",
        "leVectorLength", "leForZoomScale", "leTolerance", "leVDelta",     "leHDelta",
        "cbNumField",     "cbZField",       "cbXColumn",   "cbYColumn",    "cbNColumn",
        "cbZColumn",      "cbNoFirstLine",  "mData"};
    std::vector<std::string> seen;
    HWND at = GetNextDlgTabItem(dialog, nullptr, FALSE);
    for (size_t i = 0; at && i < expected.size(); ++i) {
        for (const std::string& name : expected) {
            if (at == Control(dialog, name)) {
                seen.push_back(name);
            }
        }
        at = GetNextDlgTabItem(dialog, at, FALSE);
    }
    EXPECT_EQ(seen, expected);
    // After the last control Tab comes round to the first.
    EXPECT_EQ(at, Control(dialog, "Button2"));
}

// --- the method ---------------------------------------------------------------

struct MethodRow {
    const char* label;
    int method;
    bool textStyle, vectorLength, zoomScale, vDelta, hDelta;
};

TEST_F(ImportDialogTest, TheMethodEnablesTheControlsItUses) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    // Picked one after the other in one dialog: each row must undo the last.
    const MethodRow rows[] = {
        {"as vector", 2, false, true, true, false, false},
        {"as points after vector", 0, false, false, false, false, false},
        {"points and labels after points", 1, true, true, true, true, true},
        {"as points after points and labels", 0, false, false, false, false, false},
        {"as vector after points", 2, false, true, true, false, false},
        {"points and labels after vector", 1, true, true, true, true, true},
        {"as vector again", 2, false, true, true, false, false},
        {"the same pick twice", 2, false, true, true, false, false},
    };
    const char* unaffected[] = {"cbMetod",   "cbLayer",     "cbPointStyle",  "cbNumField",
                                "cbZField",  "cbXColumn",   "cbYColumn",     "cbNColumn",
                                "cbZColumn", "leTolerance", "cbNoFirstLine", "mData",
                                "Button2"};
    for (const MethodRow& row : rows) {
        SCOPED_TRACE(row.label);
        Choose(dialog, "cbMetod", row.method);
        EXPECT_EQ(ComboIndex(dialog, "cbMetod"), row.method);
        EXPECT_EQ(Enabled(dialog, "cbTExtStyle"), row.textStyle);
        EXPECT_EQ(Enabled(dialog, "leVectorLength"), row.vectorLength);
        EXPECT_EQ(Enabled(dialog, "leForZoomScale"), row.zoomScale);
        EXPECT_EQ(Enabled(dialog, "leVDelta"), row.vDelta);
        EXPECT_EQ(Enabled(dialog, "leHDelta"), row.hDelta);
        for (const char* name : unaffected) {
            EXPECT_TRUE(Enabled(dialog, name)) << name;
        }
    }
}

// --- "Импорт" without a map ------------------------------------------------------

TEST_F(ImportDialogTest, WithoutAHostOrALayerImportSaysWhatIsMissingAndCallsNothing) {
    const struct {
        const char* label;
        bool connected;
        const wchar_t* message;
    } rows[] = {
        {"an empty project", true, L"Выберите слой отметок."},
        {"no host connected", false, L"Расширение не подключено к ГИС"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        if (!row.connected) {
            ASSERT_EQ(session.Disconnect(), S_OK);
        }
        HWND dialog = Open();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(ComboItems(dialog, "cbLayer").empty());
        SetText(dialog, "mData", L"1;6000.5;3000.25;120,4\r\n2;6001;3001;121");
        const long callsBefore = session.Host().accounting().TotalCalls();

        kavrel::testing::DialogWatcher watcher;
        Click(dialog, "Button2");
        PumpMessages();

        ASSERT_EQ(watcher.MessageBoxes().size(), 1u);
        EXPECT_EQ(watcher.MessageBoxes()[0].text, row.message);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(SendMessageW(Control(dialog, "ProgressBar1"), PBM_GETPOS, 0, 0), 0);
        EXPECT_EQ(session.Host().accounting().TotalCalls(), callsBefore) << "the host was called";
        EXPECT_TRUE(session.Host().reported_errors().empty());
        CloseByUser(dialog);
        PumpMessages();
    }
    // A dialog opened while disconnected is not closed by the next disconnect.
    ASSERT_EQ(session.Connect(), S_OK);
}

// --- several dialogs, closing, disconnection -------------------------------------

TEST_F(ImportDialogTest, EachRunOpensAFurtherDialogAndClosingOneLeavesTheOther) {
    HWND first = Open();
    HWND second = Open();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    SetText(second, "mData", L"10 20 30");
    Choose(second, "cbMetod", 2);

    DestroyRecorder recorder;
    CloseByUser(first);
    PumpMessages();

    EXPECT_FALSE(IsWindow(first)) << "a closed dialog must be destroyed, not hidden";
    EXPECT_EQ(recorder.Destroyed(), std::vector<HWND>{first});
    ASSERT_EQ(ImportDialogs(), std::vector<HWND>{second});
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_EQ(TextOf(Control(second, "mData")), L"10 20 30");
    EXPECT_EQ(ComboIndex(second, "cbMetod"), 2);
    EXPECT_FALSE(Enabled(second, "leVDelta"));
}

TEST_F(ImportDialogTest, DisconnectDestroysTheOpenDialogsLastOpenedFirst) {
    HWND first = Open();
    HWND second = Open();
    HWND third = Open();
    DestroyRecorder recorder;
    EXPECT_EQ(session.Disconnect(), S_OK);
    EXPECT_EQ(recorder.Destroyed(), (std::vector<HWND>{third, second, first}));
    EXPECT_TRUE(ImportDialogs().empty());
    // Nothing is left to happen after the messages already queued.
    PumpMessages();
    EXPECT_EQ(recorder.Destroyed().size(), 3u);
}

TEST_F(ImportDialogTest, ADialogTheUserClosedIsNotDestroyedAgainByDisconnect) {
    const struct {
        const char* label;
        int closed;  // which of three, by opening order
    } rows[] = {{"first closed", 0}, {"middle closed", 1}, {"last closed", 2}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        ASSERT_EQ(session.Connect(), S_OK);
        std::vector<HWND> opened = {Open(), Open(), Open()};
        CloseByUser(opened[row.closed]);
        PumpMessages();
        ASSERT_FALSE(IsWindow(opened[row.closed]));

        DestroyRecorder recorder;
        EXPECT_EQ(session.Disconnect(), S_OK);
        std::vector<HWND> expected;
        for (int i = 2; i >= 0; --i) {
            if (i != row.closed) {
                expected.push_back(opened[i]);
            }
        }
        EXPECT_EQ(recorder.Destroyed(), expected);
        EXPECT_TRUE(ImportDialogs().empty());
    }
}

TEST_F(ImportDialogTest, ReconnectingGivesNewDialogsTheNewMainWindow) {
    HWND before = Open();
    ASSERT_NE(before, nullptr);
    ASSERT_EQ(session.Disconnect(), S_OK);
    EXPECT_FALSE(IsWindow(before));

    // While no host is connected a dialog belongs to no window.
    HWND unowned = Open();
    ASSERT_NE(unowned, nullptr);
    EXPECT_EQ(GetWindow(unowned, GW_OWNER), nullptr);

    HostSession other;
    ASSERT_EQ(other.Connect(), S_OK);
    HWND owned = Open();
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), other.MainWindow());
    // The dialog opened while disconnected was registered all the same.
    DestroyRecorder recorder;
    EXPECT_EQ(other.Disconnect(), S_OK);
    EXPECT_EQ(recorder.Destroyed(), (std::vector<HWND>{owned, unowned}));
    ASSERT_EQ(session.Connect(), S_OK);
}

}  // namespace
}  // namespace kavrel::test
