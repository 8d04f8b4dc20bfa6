// The import as the user runs it in the stand-in host: command 1 opens the
// dialog, its lists come from the project and the panel's stored settings,
// a survey text is pasted, "Импорт" is clicked and its question answered, and
// the map, the result window and "Отменить импорт" are looked at.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/model/project_file.h"
#include "tests/import/dialog_probe.h"
#include "tests/import/host_session.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

using kavrel::testing::TextOf;

// Two layers of one map; marks (point SP, label ST) and vectors (SV) in the
// first, heights in A.H and point numbers in A.N.
std::string Project(const std::string& objects, const std::string& preferences = "{}") {
    return R"({
  "maps": [ {"id": "M1", "name": "План", "layers": ["L1", "L2"]} ],
  "layers": [
    {"id": "L1", "name": "Рельеф", "tables": [ {"name": "A", "fields": ["H", "N"]} ],
     "styles": [ {"id": "SP", "name": "Точка", "kind": "point"},
                 {"id": "ST", "name": "Подпись", "kind": "text", "text": "{A.H}"},
                 {"id": "SV", "name": "Вектор", "kind": "line"} ]},
    {"id": "L2", "name": "Ситуация", "tables": [ {"name": "B", "fields": ["NAME"]} ],
     "styles": [ {"id": "SB", "name": "Здание", "kind": "polygon"} ]}
  ],
  "objects": )" +
           objects +
           R"(,
  "preferences": )" +
           preferences + "\n}";
}

const char kPanelSettings[] =
    R"({"kavreleditor_pstyle": "SP", "kavreleditor_tstyle": "ST", "kavreleditor_tfield": "A.H"})";

// A point mark with an optional label and a height and number.
std::string Mark(const char* id, double x, double y, double height, const char* number,
                 bool label = false) {
    char text[512];
    std::snprintf(text, sizeof text,
                  R"({"id": "%s", "layer": "L1", "values": {"A.H": %.17g, "A.N": "%s"},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[%.17g, %.17g, 0]]]}%s ]})",
                  id, height, number, x, y,
                  label ? R"(, {"style": "ST", "parts": [[[0, 0, 3], [0, 0.5, 3]]]})" : "");
    return text;
}

std::string Objects(const std::vector<std::string>& marks) {
    std::string text = "[";
    for (std::size_t i = 0; i < marks.size(); ++i) {
        text += (i ? ",\n" : "\n") + marks[i];
    }
    return text + "]";
}

class ImportRunTest : public ::testing::Test {
  protected:
    void Start(const std::string& project) {
        session_ = std::make_unique<HostSession>(project);
        ASSERT_EQ(session_->Connect(), S_OK);
        kavrel::testing::DialogWatcher watcher;
        ASSERT_EQ(session_->Command(kImportCommand), S_OK);
        ASSERT_TRUE(watcher.MessageBoxes().empty()) << "opening the dialog showed a message";
        ASSERT_FALSE(ImportDialogs().empty());
        dialog_ = ImportDialogs().back();
    }
    void TearDown() override {
        if (session_) {
            session_->Disconnect();
            PumpMessages();
            EXPECT_EQ(kavrel::testing::FindThreadWindow(L"TfImportResult"), nullptr)
                << "the result window outlived its dialog";
        }
    }

    // A click on the dialog's `button`, questions answered with `answer`; the
    // texts of every box.
    std::vector<std::wstring> ClickDialog(const char* button, int answer) {
        kavrel::testing::DialogWatcher watcher(answer);
        Click(dialog_, button);
        PumpMessages();
        return watcher.MessageTexts();
    }
    // "Импорт"; "Отменить импорт".
    std::vector<std::wstring> Import(int answer = IDYES) { return ClickDialog("Button2", answer); }
    std::vector<std::wstring> UndoImport() { return ClickDialog("btnUndoImport", IDOK); }
    // The result window's lines; none when there is no window.
    std::vector<std::wstring> ResultLines() {
        const HWND window = kavrel::testing::FindThreadWindow(L"TfImportResult");
        if (!window || !IsWindowVisible(window)) {
            return {};
        }
        EXPECT_EQ(GetWindow(window, GW_OWNER), dialog_);
        const HWND text = kavrel::testing::FindControl(window, "mResult");
        EXPECT_NE(GetWindowLongW(text, GWL_STYLE) & ES_READONLY, 0);
        std::vector<std::wstring> lines;
        std::wstring all = TextOf(text);
        for (std::size_t start = 0;;) {
            const std::size_t end = all.find(L"\r\n", start);
            lines.push_back(all.substr(start, end - start));
            if (end == std::wstring::npos) {
                return lines;
            }
            start = end + 2;
        }
    }
    bool UndoEnabled() { return IsWindowEnabled(Control(dialog_, "btnUndoImport")) != FALSE; }

    host::MapModel& Model() { return session_->Host().model(); }
    const host::ObjectState& Committed(const char16_t* id) {
        return Model().FindObject(id)->CommittedState();
    }
    double Height(const char16_t* id) { return std::get<double>(Committed(id).values.at(u"A.H")); }
    std::vector<host::Vertex> Vertices(const char16_t* id, std::size_t shape) {
        return Committed(id).shapes.at(shape).parts.at(0).vertices;
    }

    std::unique_ptr<HostSession> session_;
    HWND dialog_ = nullptr;
};

TEST_F(ImportRunTest, TheListsComeFromTheProjectAndThePanelsStoredSettings) {
    Start(Project("[]", kPanelSettings));
    EXPECT_EQ(ComboItems(dialog_, "cbLayer"),
              (std::vector<std::wstring>{L"План\\Рельеф", L"План\\Ситуация"}));
    // Preselected: the layer of the panel's point style, its styles and field.
    EXPECT_EQ(ComboIndex(dialog_, "cbLayer"), 0);
    const std::vector<std::wstring> styles = {L"Точка", L"Подпись", L"Вектор"};
    EXPECT_EQ(ComboItems(dialog_, "cbPointStyle"), styles);
    EXPECT_EQ(ComboItems(dialog_, "cbTExtStyle"), styles);
    EXPECT_EQ(ComboIndex(dialog_, "cbPointStyle"), 0);
    EXPECT_EQ(ComboIndex(dialog_, "cbTExtStyle"), 1);
    const std::vector<std::wstring> fields = {L"A.H", L"A.N"};
    EXPECT_EQ(ComboItems(dialog_, "cbNumField"), fields);
    EXPECT_EQ(ComboItems(dialog_, "cbZField"), fields);
    EXPECT_EQ(ComboIndex(dialog_, "cbZField"), 0);
    EXPECT_EQ(ComboIndex(dialog_, "cbNumField"), CB_ERR);
    EXPECT_EQ(TextOf(Control(dialog_, "leTolerance")), L"0,05");

    Choose(dialog_, "cbLayer", 1);
    EXPECT_EQ(ComboItems(dialog_, "cbPointStyle"), std::vector<std::wstring>{L"Здание"});
    EXPECT_EQ(ComboItems(dialog_, "cbZField"), std::vector<std::wstring>{L"B.NAME"});
    EXPECT_EQ(ComboIndex(dialog_, "cbZField"), CB_ERR);

    // The columns follow the text: "1" to the most columns, "номер X Y H" picked.
    const struct {
        const char* label;
        const wchar_t* text;
        bool header;
        std::size_t columns;
        int n, x, y, z;
    } texts[] = {
        {"five columns", L"1 2 3 4 5\r\n1 2 3", false, 5, 0, 1, 2, 3},
        {"three columns: no height column", L"1;2;3", false, 3, 0, 1, 2, CB_ERR},
        {"a header with more columns is skipped", L"№ X Y H прим\r\n1 2 3 4", true, 4, 0, 1, 2, 3},
        {"no text", L"", false, 0, CB_ERR, CB_ERR, CB_ERR, CB_ERR},
    };
    for (const auto& t : texts) {
        SCOPED_TRACE(t.label);
        SendMessageW(Control(dialog_, "cbNoFirstLine"), BM_SETCHECK,
                     t.header ? BST_CHECKED : BST_UNCHECKED, 0);
        SetText(dialog_, "mData", t.text);
        ASSERT_EQ(ComboItems(dialog_, "cbXColumn").size(), t.columns);
        ASSERT_EQ(ComboItems(dialog_, "cbZColumn").size(), t.columns);
        if (t.columns > 0) {
            EXPECT_EQ(ComboItems(dialog_, "cbZColumn").back(), std::to_wstring(t.columns));
        }
        EXPECT_EQ(ComboIndex(dialog_, "cbNColumn"), t.n);
        EXPECT_EQ(ComboIndex(dialog_, "cbXColumn"), t.x);
        EXPECT_EQ(ComboIndex(dialog_, "cbYColumn"), t.y);
        EXPECT_EQ(ComboIndex(dialog_, "cbZColumn"), t.z);
    }
}

TEST_F(ImportRunTest, WhatIsMissingOrWrongIsSaidBeforeTheMapIsTouched) {
    const struct {
        const char* label;
        int method;
        const wchar_t* tolerance;
        const wchar_t* scale;
        const wchar_t* text;
        bool height_field;
        const wchar_t* message;
    } rows[] = {
        {"a tolerance that is no number", 0, L"0.05", L"", L"1 2 3 4", true,
         L"Неверный ввод числа 0.05"},
        {"a negative tolerance", 0, L"-1", L"", L"1 2 3 4", true, L"Неверный ввод числа -1"},
        {"labels without a scale", 1, L"0,05", L"", L"1 2 3 4", true, L"Неверный ввод числа "},
        {"a scale of zero", 2, L"0,05", L"0", L"1 2 3 4", true, L"Неверный ввод числа 0"},
        {"no height field", 0, L"0,05", L"", L"1 2 3 4", false, L"Выберите поле высоты."},
        {"no height column", 0, L"0,05", L"", L"1 2 3", true, L"Выберите столбцы X, Y и высоты."},
        {"no text", 0, L"0,05", L"", L"", true, L"В тексте нет строк для импорта."},
        {"only a header and a blank line", 0, L"0,05", L"", L"№ X Y H\r\n \r\n", true,
         L"В тексте нет строк для импорта."},
    };
    Start(Project(Objects({Mark("P1", 1, 2, 5, "1")}), kPanelSettings));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        Choose(dialog_, "cbMetod", row.method);
        SetText(dialog_, "leTolerance", row.tolerance);
        SetText(dialog_, "leForZoomScale", row.scale);
        SetText(dialog_, "leVectorLength", L"5");
        SetText(dialog_, "leVDelta", L"1");
        SetText(dialog_, "leHDelta", L"1");
        const bool header = std::wstring(row.text).find(L"№") == 0;
        SendMessageW(Control(dialog_, "cbNoFirstLine"), BM_SETCHECK,
                     header ? BST_CHECKED : BST_UNCHECKED, 0);
        SetText(dialog_, "mData", row.text);
        Choose(dialog_, "cbZField", row.height_field ? 0 : -1);
        const std::string before = host::SaveProject(Model());
        const long writes = session_->Host().accounting().CallCount("IHostSemantics.SetValue");
        const std::vector<std::wstring> shown = Import();
        EXPECT_EQ(shown, std::vector<std::wstring>{row.message});
        EXPECT_EQ(host::SaveProject(Model()), before);
        EXPECT_EQ(session_->Host().accounting().CallCount("IHostSemantics.SetValue"), writes);
        EXPECT_TRUE(ResultLines().empty());
    }
}

TEST_F(ImportRunTest, EachRowFindsTheNearestMarkWithItsNumberOrSaysWhyNot) {
    Start(Project(Objects({
                      Mark("E1", 100, 200, 10, "1"),     // 0,05 from its row
                      Mark("E2", 110, 200, 10, "2"),     // 0,051 from its row
                      Mark("N1", 120, 200, 10, "3"),     // 0,03 from its row
                      Mark("N2", 120, 200.04, 10, "3"),  // 0,01 from it: nearer
                      Mark("W1", 130, 200, 10, "4"),     // found by a row numbered 5
                      Mark("S1", 140, 200, 10, "6"),     // found by two rows
                      Mark("U1", 150, 200, 16, "8"),     // already right
                  }),
                  kPanelSettings));
    const std::wstring text =
        L"1 100 200,05 11\r\n"
        L"2 110 200,051 11\r\n"
        L"3 120 200.03 12\r\n"
        L"5 130 200 13\r\n"
        L"6 140 200 14\r\n"
        L"6 140,01 200 14\r\n"
        L"7 abc 200 15\r\n"
        L"8 150 200 16";
    SetText(dialog_, "mData", text);
    Choose(dialog_, "cbNumField", 1);  // A.N
    const std::vector<std::wstring> shown = Import();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0],
              L"Строк в тексте: 8.\nНайдено отметок: 3.\nИзменятся отметок: 2.\n"
              L"Строк без отметки: 2.\nСтрок, нашедших одну отметку на несколько: 2.\n"
              L"Плохих строк: 1.\n\nЗаписать новые значения в карту?");
    EXPECT_EQ(ResultLines(),
              (std::vector<std::wstring>{
                  L"Импорт выполнен: изменено отметок 2; строк 8, найдено отметок 3, без "
                  L"отметки 2, на одну отметку несколько строк: 2, плохих строк 1.",
                  L"строка 2: 2 110 200,051 11 — нет отметки в пределах допуска",
                  L"строка 4: 5 130 200 13 — номер не совпадает",
                  L"строка 5: 6 140 200 14 — отметку «S1» нашли несколько строк: 5, 6",
                  L"строка 6: 6 140,01 200 14 — отметку «S1» нашли несколько строк: 5, 6",
                  L"строка 7: 7 abc 200 15 — X не число: «abc»",
              }));
    EXPECT_EQ(Height(u"E1"), 11.0);
    EXPECT_EQ(Height(u"N2"), 12.0);
    for (const char16_t* unchanged : {u"E2", u"N1", u"W1", u"S1"}) {
        EXPECT_EQ(Height(unchanged), 10.0);
    }
    EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
    const HWND progress = Control(dialog_, "ProgressBar1");
    EXPECT_EQ(SendMessageW(progress, PBM_GETPOS, 0, 0), SendMessageW(progress, PBM_GETRANGE, 0, 0))
        << "the progress bar ends full";
    EXPECT_TRUE(IsWindowEnabled(Control(dialog_, "Button2")));

    // The same text again: nothing to change, nothing written.
    const long writes = session_->Host().accounting().CallCount("IHostSemantics.SetValue");
    const std::vector<std::wstring> again = Import();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].rfind(L"Изменять нечего", 0), 0u) << again[0];
    EXPECT_EQ(session_->Host().accounting().CallCount("IHostSemantics.SetValue"), writes);
    EXPECT_TRUE(UndoEnabled()) << "the last import that wrote can still be taken back";
}

TEST_F(ImportRunTest, EachMethodWritesWhatItPromisesAndTheUndoTakesItBack) {
    // Points with and without a label; vectors of two vertices and of one.
    const std::string objects = Objects({
        Mark("P1", 10, 10, 1, "1", true),
        Mark("P2", 20, 20, 1, "2"),
        R"({"id": "V1", "layer": "L1", "values": {"A.H": 1},
   "shapes": [ {"style": "SV", "parts": [[[30, 30, 7], [30, 30.5, 9]]]} ]})",
        R"({"id": "V2", "layer": "L1", "values": {"A.H": 1},
   "shapes": [ {"style": "SV", "parts": [[[40, 40, 0]]]} ]})",
    });
    const wchar_t kText[] = L"1 10 10 5\r\n2 20 20 5\r\n3 30 30 5\r\n4 40 40 5";
    struct Case {
        const char* label;
        int method;
        int point_style;  // in the list: Точка, Подпись, Вектор
        std::vector<const char16_t*> written;
        std::vector<std::wstring> notes;
    };
    const Case cases[] = {
        {"as points: heights only",
         0,
         0,
         {u"P1", u"P2"},
         {L"строка 3: 3 30 30 5 — нет отметки в пределах допуска",
          L"строка 4: 4 40 40 5 — нет отметки в пределах допуска"}},
        {"points and labels",
         1,
         0,
         {u"P1", u"P2"},
         {L"строка 2: 2 20 20 5 — у отметки нет подписи выбранного стиля: подпись не "
          L"поставлена",
          L"строка 3: 3 30 30 5 — нет отметки в пределах допуска",
          L"строка 4: 4 40 40 5 — нет отметки в пределах допуска"}},
        {"as vectors",
         2,
         2,
         {u"V1", u"V2"},
         {L"строка 1: 1 10 10 5 — нет отметки в пределах допуска",
          L"строка 2: 2 20 20 5 — нет отметки в пределах допуска",
          L"строка 4: 4 40 40 5 — у точки отметки не две точки в контуре: вектор не изменён"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Start(Project(objects, kPanelSettings));
        const std::string before = host::SaveProject(Model());
        Choose(dialog_, "cbMetod", c.method);
        Choose(dialog_, "cbPointStyle", c.point_style);
        // 2 mm up and 1 mm right at 1:500 are 1 and 0,5 map units; 4 mm are 2.
        SetText(dialog_, "leForZoomScale", L"500");
        SetText(dialog_, "leVDelta", L"2");
        SetText(dialog_, "leHDelta", L"1");
        SetText(dialog_, "leVectorLength", L"4");
        SetText(dialog_, "mData", kText);
        ASSERT_EQ(Import().size(), 1u);

        std::vector<std::wstring> lines = ResultLines();
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.front().rfind(L"Импорт выполнен: изменено отметок 2;", 0), 0u)
            << lines.front();
        EXPECT_EQ(std::vector<std::wstring>(lines.begin() + 1, lines.end()), c.notes);
        for (const char16_t* id : c.written) {
            EXPECT_EQ(Height(id), 5.0);
        }
        // The geometry of each method, from the committed map.
        const std::vector<host::Vertex> p1_label = Vertices(u"P1", 1);
        const std::vector<host::Vertex> v1 = Vertices(u"V1", 0);
        if (c.method == 1) {
            EXPECT_EQ(p1_label[0].x, 11.0);
            EXPECT_EQ(p1_label[0].y, 10.5);
            EXPECT_EQ(p1_label[0].c, 0.0);
            EXPECT_EQ(p1_label[1].x, 11.0);
            EXPECT_DOUBLE_EQ(p1_label[1].y, 10.7);
        } else {
            EXPECT_EQ(p1_label[0].y, 0.0) << "the label is left where it was";
        }
        if (c.method == 2) {
            EXPECT_EQ(v1[0].y, 30.0);
            EXPECT_EQ(v1[1].x, 30.0);
            EXPECT_EQ(v1[1].y, 32.0);
            EXPECT_EQ(v1[1].c, 9.0);
        } else {
            EXPECT_EQ(v1[1].y, 30.5);
        }

        EXPECT_TRUE(UndoEnabled());
        const int redraws = session_->Host().redraws;
        EXPECT_TRUE(UndoImport().empty());
        EXPECT_EQ(host::SaveProject(Model()), before);
        EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
        EXPECT_EQ(session_->Host().redraws, redraws + 1);
        EXPECT_FALSE(UndoEnabled()) << "one level of undo";
        TearDown();
    }
}

TEST_F(ImportRunTest, AnsweringNoWritesNothing) {
    Start(Project(Objects({Mark("P1", 10, 10, 1, "1")}), kPanelSettings));
    SetText(dialog_, "mData", L"1 10 10 5");
    const std::string before = host::SaveProject(Model());
    const std::vector<std::wstring> shown = Import(IDNO);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(L"Изменятся отметок: 1."), std::wstring::npos);
    EXPECT_EQ(host::SaveProject(Model()), before);
    EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
    EXPECT_EQ(session_->Host().accounting().CallCount("IHostSemantics.SetValue"), 0);
    EXPECT_TRUE(ResultLines().empty());
    EXPECT_FALSE(UndoEnabled());
}

TEST_F(ImportRunTest, AHostFailureHalfWayKeepsWhatWasWrittenAndTheUndoTakesItBack) {
    Start(Project(Objects({Mark("P1", 10, 10, 1, "1", true), Mark("P2", 20, 20, 1, "2", true),
                           Mark("P3", 30, 30, 1, "3", true)}),
                  kPanelSettings));
    const std::string before = host::SaveProject(Model());
    Choose(dialog_, "cbMetod", 1);
    SetText(dialog_, "leForZoomScale", L"500");
    SetText(dialog_, "leVDelta", L"2");
    SetText(dialog_, "leHDelta", L"1");
    SetText(dialog_, "mData", L"1 10 10 5\r\n2 20 20 6\r\n3 30 30 7");
    // P1's two label vertices and its height go through; P2's label end fails.
    session_->Host().accounting().ArmFault("IHostContourPart.SetVertex", 4, u"Слой заблокирован");
    const std::vector<std::wstring> shown = Import();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1], L"Слой заблокирован");
    const std::vector<std::wstring> lines = ResultLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0],
              L"Запись остановлена на строке 2: Слой заблокирован. Изменено отметок до "
              L"остановки: 1; они сохранены в карте, «Отменить импорт» возвращает их.");
    EXPECT_EQ(Height(u"P1"), 5.0);
    EXPECT_EQ(Vertices(u"P1", 1)[0].x, 11.0);
    EXPECT_EQ(Vertices(u"P2", 1)[0].x, 21.0) << "P2's label start is committed with the failure";
    EXPECT_EQ(Vertices(u"P2", 1)[1].x, 0.0);
    EXPECT_EQ(Height(u"P2"), 1.0);
    EXPECT_EQ(Height(u"P3"), 1.0);
    EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
    EXPECT_TRUE(IsWindowEnabled(Control(dialog_, "Button2")));

    ASSERT_TRUE(UndoEnabled());
    EXPECT_TRUE(UndoImport().empty());
    EXPECT_EQ(host::SaveProject(Model()), before);
    EXPECT_FALSE(UndoEnabled());
}

}  // namespace
}  // namespace kavrel::test
