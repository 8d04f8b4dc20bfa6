// Hostile input: typed steps, stored preferences and host data that a
// careless add-on would crash on, half-write or write as garbage. Each gets
// its clear message or its documented handling, and nothing is written when
// the input is refused.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <iostream>

#include "base/utf8.h"
#include "base/wide.h"
#include "tests/reliability/session_fixture.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

const std::wstring kBadAngle = L"Неправильный ввод угла!";
const std::wstring kBadNumber = L"Неверный ввод числа ";
const std::wstring kBadCoordinates = L"Координаты вне допустимого диапазона.";

class HostileInputTest : public SessionTest {
  protected:
    // Every committed coordinate and numeric value of the map is finite.
    bool AllFinite() {
        for (const auto& object : Model().objects()) {
            for (const host::Shape& shape : object->CommittedState().shapes) {
                for (const host::ContourPart& part : shape.parts) {
                    for (const host::Vertex& v : part.vertices) {
                        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.c)) {
                            return false;
                        }
                    }
                }
            }
            for (const auto& [field, value] : object->CommittedState().values) {
                if (const double* number = std::get_if<double>(&value);
                    number && !std::isfinite(*number)) {
                    return false;
                }
            }
        }
        return true;
    }
};

TEST_F(HostileInputTest, TypedStepsThatAreNoNumbersAreRefusedBeforeAnyHostCall) {
    struct Edit {
        const char* edit;
        const char* button;
        bool angle;
    };
    const Edit edits[] = {{"eRotAngle", "sbRotUp", true},
                          {"eRRotAngle", "sbRRotDn", true},
                          {"ePlusV", "sbPlusE", false},
                          {"eMinusV", "sbMinusE", false},
                          {"eMoveValue", "sbMoveUR", false}};
    struct Typed {
        const char* label;
        std::wstring text;
    };
    const Typed texts[] = {
        {"empty", L""},
        {"blanks", L"    "},
        {"overflow", L"1e999"},
        {"negative overflow", L"-1e999"},
        {"nan", L"nan"},
        {"inf", L"inf"},
        {"hexadecimal", L"0x10"},
        {"two separators", L"1,2,3"},
        {"point under a comma", L"0.5"},
        {"thousands of digits", std::wstring(5000, L'9')},
        {"thousands of characters", std::wstring(3000, L'ж')},
        {"outside code page 1251", L"\x4E00\x4E8C"},
        {"fullwidth digits", L"\xFF11\xFF12"},
        {"digits then a character outside 1251", L"12\x0100"},
        {"exponent without digits", L"5e"},
        {"sign only", L"-"},
        {"blank inside", L"1 2"},
        {"two signs", L"+-1"},
        {"exponent without a number", L"e5"},
        {"exponent sign without digits", L"1e+"},
        {"separator alone", L","},
        {"tab before", L"\t1"},
        {"percent", L"1,5%"},
        {"thousands separated by a blank", L"1 000"},
        {"infinity sign", L"\x221E"},
        {"NaN in capitals", L"NaN"},
        {"Infinity", L"Infinity"},
        {"hexadecimal float", L"0x1p3"},
        {"two exponents", L"1E5E5"},
        {"sign after", L"5-"},
        {"in brackets", L"(5)"},
        {"no-break space before", L"\x00A05"},
        {"exponent beyond every double", L"1e99999999999999999999"},
        {"Arabic-Indic digits", L"\x0661\x0662"},
    };
    const std::string project = MarkProject(kPlainObjects, kMarkPreferences, R"(["P1", "P2"])");
    OpenPanelOn(project);
    long tried = 0;
    for (const Edit& e : edits) {
        for (const Typed& t : texts) {
            SCOPED_TRACE(std::string(e.edit) + ": " + t.label);
            ResetModel(project);
            const std::string before = CommittedSnapshot(Model());
            SetText(e.edit, t.text);
            ASSERT_EQ(Text(e.edit), t.text) << "the edit did not take the whole text";
            const long calls = host_->accounting().TotalCalls();
            const auto shown = Click(e.button);
            ASSERT_EQ(shown.size(), 1u) << Joined(shown);
            EXPECT_EQ(shown[0], e.angle ? kBadAngle : kBadNumber + t.text);
            EXPECT_EQ(host_->accounting().TotalCalls(), calls) << "the host was called";
            EXPECT_EQ(CommittedSnapshot(Model()), before);
            EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
            ++tried;
        }
        SetText(e.edit, L"1");
    }
    // A valid number thousands of characters long is taken.
    ResetModel(project);
    SetText("eMoveValue", L"0," + std::wstring(4000, L'0') + L"1");
    const std::string before = CommittedSnapshot(Model());
    EXPECT_TRUE(Click("sbMoveU").empty());
    ++tried;
    std::cout << "[hostile] typed steps: " << tried << " inputs" << std::endl;
    Tally::Inputs(tried);
    EndSessionCleanly("typed steps");
}

TEST_F(HostileInputTest, StoredPreferencesThatAreNoValidValues) {
    struct Case {
        const char* label;
        std::string preferences;
        // The message at opening, if any (empty: none).
        std::wstring message;
        bool rails;
    };
    const std::string long_text(3000, 'x');
    const std::string long_style(300, 'S');
    const Case cases[] = {
        {"rails mode 'maybe'", R"({"kavreleditor_relsy": "maybe"})",
         L"'maybe' is not a valid boolean value", false},
        {"rails mode empty", R"({"kavreleditor_relsy": ""})", L"'' is not a valid boolean value",
         false},
        {"rails mode nan", R"({"kavreleditor_relsy": "nan"})",
         L"'nan' is not a valid boolean value", false},
        {"rails mode overflowing number", R"({"kavreleditor_relsy": "1e999"})",
         L"'1e999' is not a valid boolean value", false},
        {"rails mode ' true '", R"({"kavreleditor_relsy": " true "})",
         L"' true ' is not a valid boolean value", false},
        {"rails mode '2'", R"({"kavreleditor_relsy": "2"})", L"", true},
        {"rails mode 'tRuE'", R"({"kavreleditor_relsy": "tRuE"})", L"", true},
        {"very long step text", R"({"kavreleditor_erotang": ")" + long_text + R"("})", L"", false},
        {"very long style identifier", R"({"kavreleditor_pstyle": ")" + long_style + R"("})", L"",
         false},
        {"style outside code page 1251", R"({"kavreleditor_pstyle": "\u4e00"})", L"", false},
        {"rails mode 'yes'", R"({"kavreleditor_relsy": "yes"})",
         L"'yes' is not a valid boolean value", false},
        {"rails mode 'Tru'", R"({"kavreleditor_relsy": "Tru"})",
         L"'Tru' is not a valid boolean value", false},
        {"rails mode '0x1'", R"({"kavreleditor_relsy": "0x1"})",
         L"'0x1' is not a valid boolean value", false},
        {"rails mode with the other separator", R"({"kavreleditor_relsy": "1.5"})",
         L"'1.5' is not a valid boolean value", false},
        {"rails mode with a tab", R"({"kavreleditor_relsy": "\t1"})",
         L"'\t1' is not a valid boolean value", false},
        {"rails mode '1,5'", R"({"kavreleditor_relsy": "1,5"})", L"", true},
        {"rails mode '0,0'", R"({"kavreleditor_relsy": "0,0"})", L"", false},
        {"rails mode '-0'", R"({"kavreleditor_relsy": "-0"})", L"", false},
        {"rails mode with blanks round a number", R"({"kavreleditor_relsy": " 1 "})", L"", true},
        {"rails mode 'FALSE'", R"({"kavreleditor_relsy": "FALSE"})", L"", false},
        {"rails mode '1e-999' (zero)", R"({"kavreleditor_relsy": "1e-999"})", L"", false},
        {"step texts that are no numbers",
         R"({"kavreleditor_erotang": "abc", "kavreleditor_eminval": "", "kavreleditor_epluval": "1e999", "kavreleditor_emoveval": "\u00a0"})",
         L"", false},
        {"height field with braces", R"({"kavreleditor_tfield": "A.H}{A.N"})", L"", false},
        {"every style the empty text", R"({"kavreleditor_pstyle": "", "kavreleditor_tstyle": ""})",
         L"", false},
    };
    long tried = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        StartHost(MarkProject(kPlainObjects, c.preferences, R"(["P1"])"));
        ConnectAddon();
        OpenPanel();
        if (c.message.empty()) {
            EXPECT_TRUE(connect_messages_.empty()) << Joined(connect_messages_);
        } else {
            ASSERT_EQ(connect_messages_.size(), 1u);
            EXPECT_EQ(connect_messages_[0], c.message);
        }
        EXPECT_EQ(Checked("cbRelsy"), c.rails);
        // Whatever was stored, the panel saves what it shows and closes cleanly.
        const std::wstring rot_angle = Text("eRotAngle");
        const auto closing = ClosePanel();
        EXPECT_TRUE(closing.empty()) << Joined(closing);
        EXPECT_EQ(Preference(u"kavreleditor_erotang"),
                  std::u16string(rot_angle.begin(), rot_angle.end()));
        connect_messages_.clear();
        EndSessionCleanly(c.label);
        ++tried;
    }
    std::cout << "[hostile] stored preferences: " << tried << " inputs" << std::endl;
    Tally::Inputs(tried);
}

TEST_F(HostileInputTest, HostDataAtAndBeyondItsLimits) {
    struct Case {
        const char* label;
        std::string objects;
        const char* selection;
        const char* button;
        // Whether the click is refused with one message (else it shows none).
        bool message;
        // A typed step the case needs, and the edit it goes into.
        const char* edit = nullptr;
        const wchar_t* step = nullptr;
        // An identifier put into the host's selection that names no object.
        const char16_t* missing = nullptr;
    };
    std::string thousand = R"([{"id": "K", "layer": "L1", "values": {"A.H": 1}, "shapes": [)";
    for (int i = 0; i < 1000; ++i) {
        thousand += std::string(i ? "," : "") + R"({"style": "SX", "parts": [[[)" +
                    std::to_string(i) + R"(, 1, 0], [2, 2, 0]]]})";
    }
    thousand += "]}]";
    const Case cases[] = {
        {"identifier of 15 characters",
         R"([{"id": "ABCDEFGHIJKLMNO", "layer": "L1", "values": {"A.H": 1},
             "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                         {"style": "ST", "parts": [[[1.2, 2.2, 0], [1.2, 2.7, 0]]]} ]}])",
         R"(["ABCDEFGHIJKLMNO"])", "sb45", false},
        {"label with one vertex",
         R"([{"id": "O", "layer": "L1", "values": {"A.H": 1},
             "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                         {"style": "ST", "parts": [[[1.2, 2.2, 0]]]} ]}])",
         R"(["O"])", "sb45", true},
        {"label with no vertex",
         R"([{"id": "O", "layer": "L1", "values": {"A.H": 1},
             "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                         {"style": "ST", "parts": [[]]} ]}])",
         R"(["O"])", "sbMoveU", true},
        {"label without parts",
         R"([{"id": "O", "layer": "L1", "values": {"A.H": 1},
             "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                         {"style": "ST", "parts": []} ]}])",
         R"(["O"])", "sbRotUp", true},
        {"point without parts, rebuilt",
         R"([{"id": "O", "layer": "L1", "values": {"A.H": 1},
             "shapes": [ {"style": "SP", "flag": true, "parts": []},
                         {"style": "ST", "parts": [[[1.2, 2.2, 0], [1.2, 2.7, 0]]]},
                         {"style": "SX", "parts": []} ]}])",
         R"(["O"])", "sb0", true},
        {"no shapes at all", R"([{"id": "O", "layer": "L1", "values": {"A.H": 1}, "shapes": []}])",
         R"(["O"])", "sb0", false},
        {"a thousand shapes, rebuilt", thousand, R"(["K"])", "sb0", false},
        {"selected identifier of no object", "[]", "[]", "sb0", true, nullptr, nullptr, u"GONE"},
        {"height that is no number", R"([{"id": "O", "layer": "L1", "values": {"A.H": "abc"},
             "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                         {"style": "ST", "parts": [[[1.2, 2.2, 0], [1.2, 2.7, 0]]]} ]}])",
         R"(["O"])", "sbHPlus", true},
        {"height that overflows", R"([{"id": "O", "layer": "L1", "values": {"A.H": "1e999"},
             "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                         {"style": "ST", "parts": [[[1.2, 2.2, 0], [1.2, 2.7, 0]]]} ]}])",
         R"(["O"])", "sbHPlus", true},
        {"height at the top of the range, a small step", R"([{"id": "O", "layer": "L1",
             "values": {"A.H": "1,7976931348623157e308"},
             "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                         {"style": "ST", "parts": [[[1.2, 2.2, 0], [1.2, 2.7, 0]]]} ]}])",
         R"(["O"])", "sbHPlus", false},
        {"height whose sum overflows", R"([{"id": "O", "layer": "L1",
             "values": {"A.H": "1,7976931348623157e308"},
             "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                         {"style": "ST", "parts": [[[1.2, 2.2, 0], [1.2, 2.7, 0]]]} ]}])",
         R"(["O"])", "sbPlusE", true, "ePlusV", L"1e308"},
        {"move that overflows the label's end", R"([{"id": "O", "layer": "L1", "values": {"A.H": 1},
             "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                         {"style": "ST", "parts": [[[1.2, 2.2, 0], [1.7e308, 2.7, 0]]]} ]}])",
         R"(["O"])", "sbMoveU", true, "eMoveValue", L"1e308"},
    };
    long tried = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        OpenPanelOn(MarkProject(c.objects, kMarkPreferences, c.selection));
        if (c.edit) {
            SetText(c.edit, c.step);
        }
        if (c.missing) {
            Select({c.missing});
        }
        const std::string before = CommittedSnapshot(Model());
        const auto shown = Click(c.button);
        if (c.message) {
            EXPECT_EQ(shown.size(), 1u) << Joined(shown);
            EXPECT_EQ(CommittedSnapshot(Model()), before) << "written although refused";
            EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty()) << "half written";
        } else {
            EXPECT_TRUE(shown.empty()) << Joined(shown);
        }
        for (const std::wstring& text : shown) {
            EXPECT_FALSE(text.empty()) << "an empty message";
        }
        EXPECT_TRUE(AllFinite());
        // The panel takes the next click.
        EXPECT_TRUE(Click("cbRelsy").empty());
        EndSessionCleanly(c.label);
        ++tried;
    }
    std::cout << "[hostile] host data: " << tried << " inputs" << std::endl;
    Tally::Inputs(tried);
}

// One mark "id" of layer L1 with the given values (JSON members), its point at
// (x, y) and its label 0.2 north-east of it, 0.5 long.
std::string MarkWith(const std::string& id, const std::string& values, double x = 1, double y = 2) {
    char shapes[512];
    std::snprintf(shapes, sizeof shapes,
                  R"([ {"style": "SP", "flag": true, "parts": [[[%.17g, %.17g, 0]]]},
                       {"style": "ST", "parts": [[[%.17g, %.17g, 0], [%.17g, %.17g, 0]]]} ])",
                  x, y, x + 0.2, y + 0.2, x + 0.2, y + 0.7);
    return R"([{"id": ")" + id + R"(", "layer": "L1", "values": {)" + values + R"(}, "shapes": )" +
           shapes + "}]";
}

// The project's mark styles with another height field.
std::string HeightField(const std::string& name) {
    return R"({"kavreleditor_pstyle": "SP", "kavreleditor_tstyle": "ST", "kavreleditor_tfield": ")" +
           name + R"("})";
}

// Field names, templates, identifiers and vertex values the host hands over:
// each click shows the exact message and writes nothing, or works.
TEST_F(HostileInputTest, FieldNamesIdentifiersAndVertexValuesFromTheHost) {
    struct Case {
        const char* label;
        std::string objects;
        std::string preferences;
        const char* button;
        const wchar_t* message;  // null: the click works and shows nothing
        const char16_t* selected = u"O";
        bool changes = true;  // whether a click that works changes the map
    };
    const std::string h1 = R"("A.H": 1, "A.N": "мост")";
    const std::string marks = kMarkPreferences;
    const Case cases[] = {
        {"height field the layer lacks", MarkWith("O", h1), HeightField("A.Q"), "sbHPlus",
         L"Поле «A.Q» не найдено в слое «L1»"},
        {"height field of a table the layer lacks", MarkWith("O", h1), HeightField("B.H"),
         "SpeedButton12", L"Поле «B.H» не найдено в слое «L1»"},
        {"empty height field", MarkWith("O", h1), HeightField(""), "sbMinusE",
         L"Поле «» не найдено в слое «L1»"},
        {"height field without a point", MarkWith("O", h1), HeightField("AH"), "sbPlusE",
         L"Поле «AH» не найдено в слое «L1»"},
        {"height field that is a template of two fields", MarkWith("O", h1),
         HeightField("A.H}{A.H"), "sbHPlus", L"Поле «A.H}{A.H» не найдено в слое «L1»"},
        {"height field opening a template it does not close", MarkWith("O", h1),
         HeightField("A.H{"), "sbHPlus", L"Поле «» не найдено в слое «L1»"},
        {"height field holding a text", MarkWith("O", h1), HeightField("A.N"), "sbHPlus",
         L"'мост' is not a valid floating point value"},
        {"height field without a value", MarkWith("O", R"("A.H": 1)"), HeightField("A.N"),
         "SpeedButton3", L"'' is not a valid floating point value"},
        {"height with a thousands blank", MarkWith("O", R"("A.H": "1 000")"), marks, "sbHPlus",
         L"'1 000' is not a valid floating point value"},
        {"height with the other separator", MarkWith("O", R"("A.H": "100.3")"), marks,
         "SpeedButton9", L"'100.3' is not a valid floating point value"},
        {"height minus zero", MarkWith("O", R"("A.H": "-0")"), marks, "sbHPlus", nullptr},
        {"selected identifier differing in case", MarkWith("O1", h1), marks, "sb45",
         L"Объект «o1» не найден", u"o1"},
        {"identifier of 15 Cyrillic letters", MarkWith("ЁЁЁЁЁЁЁЁЁЁЁЁЁЁЁ", h1), marks, "sbMoveDL",
         nullptr, u"ЁЁЁЁЁЁЁЁЁЁЁЁЁЁЁ"},
        {"identifier with a blank, a quote and a backslash", MarkWith(R"(A \"B\\C)", h1), marks,
         "sbm70", nullptr, u"A \"B\\C"},
        {"identifier of digits with a leading zero", MarkWith("007", h1), marks, "SpeedButton16",
         nullptr, u"007"},
        // The label's 0.2 and 0.5 vanish beside 1e300: it lies on its point and stays.
        {"coordinates near the largest double", MarkWith("O", h1, 1e300, -1e300), marks, "sbm45",
         nullptr, u"O", false},
        {"coordinates below the smallest normal double", MarkWith("O", h1, 5e-324, -0.0), marks,
         "sbRotUp", nullptr},
    };
    long tried = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        OpenPanelOn(MarkProject(c.objects, c.preferences));
        Select({c.selected});
        const std::string before = CommittedSnapshot(Model());
        const auto shown = Click(c.button);
        if (c.message) {
            EXPECT_EQ(shown, std::vector<std::wstring>{c.message});
            EXPECT_EQ(CommittedSnapshot(Model()), before) << "written although refused";
            EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty()) << "half written";
        } else {
            EXPECT_TRUE(shown.empty()) << Joined(shown);
            EXPECT_EQ(CommittedSnapshot(Model()) != before, c.changes);
        }
        EXPECT_TRUE(AllFinite());
        EndSessionCleanly(c.label);
        ++tried;
    }
    std::cout << "[hostile] field names, identifiers and vertex values: " << tried << " inputs"
              << std::endl;
    Tally::Inputs(tried);
}

// Coordinates the host hands over that are not numbers at all: nothing derived
// from them may be written into the map.
TEST_F(HostileInputTest, InfiniteAndNanCoordinatesFromTheHost) {
    struct Case {
        const char* label;
        double value;
        int shape;  // which shape of the mark gets it: 0 the point, 1 the label
        int vertex;
        const char* button;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"NaN anchor, preset", nan, 0, 0, "sb45"},
        {"infinite anchor, preset", inf, 0, 0, "sb45"},
        {"NaN label start, turn", nan, 1, 0, "sbRotUp"},
        {"infinite label end, turn", -inf, 1, 1, "sbRotDn"},
        {"NaN label start, move", nan, 1, 0, "sbMoveR"},
        {"infinite label end, move", inf, 1, 1, "sbMoveD"},
        {"NaN anchor, turn", nan, 0, 0, "sbRotUp"},
    };
    const char objects[] = R"([{"id": "O", "layer": "L1", "values": {"A.H": 1},
        "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 2, 0]]]},
                    {"style": "ST", "parts": [[[1.2, 2.2, 0], [1.2, 2.7, 0]]]} ]}])";
    long tried = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        OpenPanelOn(MarkProject(objects, kMarkPreferences, R"(["O"])"));
        host::MapObject* object = Model().FindObject(u"O");
        ASSERT_NE(object, nullptr);
        object->current.shapes.at(c.shape).parts.at(0).vertices.at(c.vertex).x = c.value;
        const std::string before = CommittedSnapshot(Model());
        const auto shown = Click(c.button);
        ASSERT_EQ(shown.size(), 1u)
            << "no message for a coordinate that is no number: " << Joined(shown);
        EXPECT_EQ(shown[0], kBadCoordinates);
        EXPECT_EQ(CommittedSnapshot(Model()), before) << "written although refused";
        EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty()) << "a vertex was written";
        EndSessionCleanly(c.label);
        ++tried;
    }
    std::cout << "[hostile] host coordinates: " << tried << " inputs" << std::endl;
    Tally::Inputs(tried);
}

std::wstring NodeText(HWND tree, HTREEITEM item) {
    wchar_t text[600] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = 600;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

// Names at the longest the host's records carry (255 characters for maps and
// layers, 99 for style names) and a style identifier filling its 15
// characters: the picker shows them whole and the chosen identifier reaches
// the panel and its preference uncut.
TEST_F(HostileInputTest, NamesAndIdentifiersAtTheirFullLengthThroughThePicker) {
    const std::string map_name(255, 'M');
    const std::string layer_name = std::string(254, 'L') + "Ё";
    const std::string style_name = std::string(98, 'S') + "ж";
    const std::string style_id = "ABCDEFGHIJKLMNO";
    const std::string project = R"({
  "maps": [ {"id": "M1", "name": ")" +
                                map_name + R"(", "layers": ["L1"]} ],
  "layers": [ {"id": "L1", "name": ")" +
                                layer_name + R"(",
     "tables": [ {"name": "A", "fields": ["H"]} ],
     "styles": [ {"id": ")" + style_id +
                                R"(", "name": ")" + style_name + R"(", "kind": "point"} ]} ],
  "objects": [], "selection": [], "preferences": {} })";
    OpenPanelOn(project);
    std::vector<std::wstring> path;
    int pickers = 0;
    {
        testing::DialogWatcher watcher;
        watcher.OnWindow(L"TfKavrelSetup", [&](HWND dialog) {
            SendMessageW(testing::FindControl(dialog, "Button3"), BM_CLICK, 0, 0);
            SendMessageW(testing::FindControl(dialog, "Button1"), BM_CLICK, 0, 0);
        });
        watcher.OnWindow(L"TfSelectStyle", [&](HWND picker) {
            ++pickers;
            const HWND tree = testing::FindControl(picker, "trv1");
            auto item =
                reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
            while (item) {
                path.push_back(NodeText(tree, item));
                SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
                const auto child = reinterpret_cast<HTREEITEM>(SendMessageW(
                    tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
                if (!child) {
                    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
                    break;
                }
                item = child;
            }
            SendMessageW(testing::FindControl(picker, "Button1"), BM_CLICK, 0, 0);
        });
        SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
        Pump();
        EXPECT_TRUE(watcher.MessageBoxes().empty());
        EXPECT_EQ(pickers, 1);
    }
    ASSERT_EQ(path.size(), 3u);
    EXPECT_EQ(path[0], Utf8ToWindows(map_name));
    EXPECT_EQ(path[1], Utf8ToWindows(layer_name));
    EXPECT_EQ(path[2], Utf8ToWindows(style_name));
    EXPECT_TRUE(ClosePanel().empty());
    EXPECT_EQ(Preference(u"kavreleditor_pstyle"), Utf8ToWide(style_id));
    Tally::Inputs(4);
    EndSessionCleanly("full-length names");
}

}  // namespace
}  // namespace kavrel::test
