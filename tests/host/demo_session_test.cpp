// The demo as the README runs it: the real kavrel.dll in maphost on the sample
// sheet, every kind of correction, pictures and the text report.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "tests/host/session_harness.h"

namespace kavrel::host {
namespace {

using nlohmann::json;

std::string ReadAll(const std::wstring& path) {
    std::string text;
    if (std::FILE* file = _wfopen(path.c_str(), L"rb")) {
        char buffer[65536];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            text.append(buffer, n);
        }
        std::fclose(file);
    }
    return text;
}

struct PngSize {
    bool png = false;
    unsigned width = 0;
    unsigned height = 0;
};

PngSize SizeOf(const std::string& file) {
    PngSize size;
    if (file.size() < 24 || file.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0) {
        return size;
    }
    auto be32 = [&](std::size_t at) {
        return (static_cast<unsigned>(static_cast<unsigned char>(file[at])) << 24) |
               (static_cast<unsigned>(static_cast<unsigned char>(file[at + 1])) << 16) |
               (static_cast<unsigned>(static_cast<unsigned char>(file[at + 2])) << 8) |
               static_cast<unsigned>(static_cast<unsigned char>(file[at + 3]));
    };
    size.png = true;
    size.width = be32(16);
    size.height = be32(20);
    return size;
}

// The ids of the script's "select" step with this note.
std::set<std::string> Selected(const json& script, const std::string& note) {
    for (const json& step : script["steps"]) {
        if (step.value("do", "") == "select" && step.value("note", "") == note) {
            return step["ids"].get<std::set<std::string>>();
        }
    }
    ADD_FAILURE() << "no select step " << note;
    return {};
}

std::map<std::string, json> ObjectsById(const json& project) {
    std::map<std::string, json> objects;
    for (const json& object : project["objects"]) {
        objects[object["id"].get<std::string>()] = object;
    }
    return objects;
}

const json* ShapeOfStyle(const json& object, const char* style) {
    for (const json& shape : object["shapes"]) {
        if (shape["style"] == style) {
            return &shape;
        }
    }
    return nullptr;
}

// Degrees from east towards north of a label's baseline.
double LabelAngle(const json& shape) {
    const json& part = shape["parts"][0];
    const double dx = part[1][0].get<double>() - part[0][0].get<double>();
    const double dy = part[1][1].get<double>() - part[0][1].get<double>();
    return std::atan2(dx, dy) * 180 / 3.14159265358979323846;
}

double DistanceToSegment(double px, double py, const json& a, const json& b) {
    const double ax = a[0], ay = a[1], bx = b[0], by = b[1];
    const double length2 = (bx - ax) * (bx - ax) + (by - ay) * (by - ay);
    double t = ((px - ax) * (bx - ax) + (py - ay) * (by - ay)) / length2;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (ax + t * (bx - ax)), py - (ay + t * (by - ay)));
}

std::wstring Sheet() {
    return Utf8ToWindows(DEMO_SHEET);
}
std::wstring Script() {
    return Utf8ToWindows(DEMO_SCRIPT);
}

// The surveyed height of each mark of the catalogue, by mark identifier
// ("H017" for point 17): "N X Y H" with a decimal comma, after a header; a
// row whose X is no number is left out.
std::map<std::string, double> SurveyedHeights() {
    std::map<std::string, double> heights;
    const std::string text = ReadAll(Utf8ToWindows(DEMO_SURVEY));
    std::size_t start = text.find('\n') + 1;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        start = end == std::string::npos ? text.size() : end + 1;
        for (char& c : line) {
            c = c == ',' ? '.' : c;
        }
        int number = 0;
        double x = 0, y = 0, h = 0;
        if (std::sscanf(line.c_str(), "%d %lf %lf %lf", &number, &x, &y, &h) == 4) {
            char id[8];
            std::snprintf(id, sizeof id, "H%03d", number);
            heights[id] = h;
        }
    }
    return heights;
}

class DemoSessionTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        dir_ = std::wstring(temp) + L"kavrel_demo_test\\";
        CreateDirectoryW(dir_.c_str(), nullptr);
        for (const wchar_t* name : {L"r.json", L"before.png", L"after.png", L"window.png",
                                    L"panel.png", L"report.txt", L"import-result.png"}) {
            DeleteFileW((dir_ + name).c_str());
        }
        const std::wstring command =
            L"\"" + Utf8ToWindows(MAPHOST_EXE) + L"\" run --project \"" + Sheet() +
            L"\" --script \"" + Script() + L"\" --addon \"" + Utf8ToWindows(KAVREL_DLL) +
            L"\" --out \"" + dir_ + L"r.json\" --before \"" + dir_ + L"before.png\" --picture \"" +
            dir_ + L"after.png\" --size 1000x700 --window \"" + dir_ + L"window.png\" --panel \"" +
            dir_ + L"panel.png\" --report \"" + dir_ +
            L"report.txt\" --form-picture \"TfImportResult=" + dir_ + L"import-result.png\"";
        exit_code_ = RunProgram(command);
    }
    static std::wstring dir_;
    static DWORD exit_code_;
};
std::wstring DemoSessionTest::dir_;
DWORD DemoSessionTest::exit_code_ = 99;

TEST_F(DemoSessionTest, RunsEveryStepWithTheImportsQuestionAndNoFreePlaceTheOnlyMessages) {
    EXPECT_EQ(exit_code_, 0u);
    const json result = json::parse(ReadAll(dir_ + L"r.json"));
    EXPECT_TRUE(result["session"]["failed_step"].is_null()) << result["session"]["failed_step"];
    // 324 marks of the catalogue and 3 surveyed points the plan lacks; one
    // row with a letter for a digit; the 13 heights entered 0,3 too high.
    const std::string question =
        "Строк в тексте: 328.\nНайдено отметок: 324.\nИзменятся отметок: 13.\nСтрок без "
        "отметки: 3.\nПлохих строк: 1.\n\nЗаписать новые значения в карту?";
    // Besides the question, at most one message per "Расставить подписи".
    const json& messages = result["session"]["messages"];
    EXPECT_LE(messages.size(), 3u) << messages;
    int questions = 0;
    for (const json& message : messages) {
        const std::string text = message.get<std::string>();
        questions += text == question ? 1 : 0;
        EXPECT_TRUE(text == question || text.rfind("Подписей без свободного места: ", 0) == 0)
            << text;
    }
    EXPECT_EQ(questions, 1) << messages;
    EXPECT_EQ(result["session"]["host_errors"], json::array());
    EXPECT_EQ(result["session"]["uncommitted"], json::array());
    // Every correction ran with the settings chosen through the dialog: with
    // a style missing the panel would have refused in a message box.
    EXPECT_EQ(result["session"]["task_panels"][0]["shown"], true);
}

TEST_F(DemoSessionTest, EveryMarkEndsWithItsSurveyedHeight) {
    const json script = json::parse(ReadAll(Script()));
    const auto before = ObjectsById(json::parse(ReadAll(Sheet())));
    const auto after = ObjectsById(json::parse(ReadAll(dir_ + L"r.json")));
    const std::map<std::string, double> surveyed = SurveyedHeights();
    ASSERT_EQ(surveyed.size(), 324u + 3u) << "the catalogue's rows";
    int corrected = 0;
    for (const auto& [id, object] : before) {
        if (!object["values"].contains("A.H") || !object["values"]["A.H"].is_number()) {
            continue;
        }
        const json& value = after.at(id)["values"]["A.H"];
        ASSERT_TRUE(value.is_number()) << id;
        const double was = object["values"]["A.H"].get<double>();
        const auto survey = surveyed.find(id);
        // The panel raised the heights entered too low, the import set the
        // ones entered too high; rail marks and contours keep theirs. Stored
        // as the two-decimal number they show (the wrong "-0,5" taken back).
        EXPECT_EQ(value.get<double>(), survey == surveyed.end() ? was : survey->second) << id;
        corrected += survey != surveyed.end() && survey->second != was ? 1 : 0;
    }
    EXPECT_EQ(corrected, 29) << "the heights entered wrongly";
    EXPECT_EQ(Selected(script, "Отметки, записанные на 0,5 м ниже").size(), 16u);
}

// The targets of label placement, by the host's own measure of the labels:
// the sheet as loaded against the sheet after the session.
TEST_F(DemoSessionTest, LabelsStandClearOfEachOtherOfPointsAndOfMostLines) {
    const json result = json::parse(ReadAll(dir_ + L"r.json"));
    const json& before = result["session"]["legibility"]["before"];
    const json& after = result["session"]["legibility"]["after"];
    ASSERT_GT(before["overlapping_pairs"].get<int>(), 20) << before;
    ASSERT_GT(before["crossed_by_lines"].get<int>(), 50) << before;
    EXPECT_EQ(after["labels"], before["labels"].get<int>() + 6) << "the six lost labels are back";
    EXPECT_EQ(after["overlapping_pairs"], 0) << after;
    EXPECT_EQ(after["covering_points"], 0) << after;
    EXPECT_LE(2 * after["crossed_by_lines"].get<int>(), before["crossed_by_lines"].get<int>())
        << after;
    EXPECT_EQ(after["far_from_point"], 0) << "no label farther than two label heights";
}

TEST_F(DemoSessionTest, LabelsEndAtThePresetAnglesAndRailMarksSitOnARail) {
    const json script = json::parse(ReadAll(Script()));
    const auto before = ObjectsById(json::parse(ReadAll(Sheet())));
    const auto after = ObjectsById(json::parse(ReadAll(dir_ + L"r.json")));
    const std::set<std::string> marks = Selected(script, "Все высотные отметки листа");
    const std::set<std::string> west = Selected(script, "Западный блок отметок у откоса");
    const std::set<std::string> rails = Selected(script, "Все отметки головки рельса");
    for (const std::string& id : marks) {
        const json& object = after.at(id);
        ASSERT_EQ(object["shapes"].size(), 2u) << id << " is a well-formed mark";
        const json* label = ShapeOfStyle(object, "ST");
        ASSERT_NE(label, nullptr) << id;
        // Placement keeps a label where it is clear and puts it horizontal
        // where it moves it.
        const double angle = LabelAngle(*label);
        if (!west.count(id) || std::fabs(angle) < 1e-6) {
            EXPECT_NEAR(angle, 0.0, 1e-6) << id;
        } else {
            EXPECT_NEAR(angle, 20.0, 1e-6) << id;
        }
    }
    std::vector<std::pair<json, json>> segments;
    for (const auto& [id, object] : after) {
        if (const json* rail = ShapeOfStyle(object, "SRL")) {
            const json& part = (*rail)["parts"][0];
            for (std::size_t i = 1; i < part.size(); ++i) {
                segments.emplace_back(part[i - 1], part[i]);
            }
        }
    }
    ASSERT_FALSE(segments.empty());
    for (const std::string& id : rails) {
        const json& object = after.at(id);
        const json* stroke = ShapeOfStyle(object, "SR");
        const json* label = ShapeOfStyle(object, "STR");
        ASSERT_TRUE(stroke && label) << id;
        // Turned 20 degrees clockwise, snapping moved them without turning;
        // placement left them so or put them horizontal.
        const json* old_label = ShapeOfStyle(before.at(id), "STR");
        ASSERT_NE(old_label, nullptr) << id;
        const double angle = LabelAngle(*label);
        if (std::fabs(angle) > 1e-6) {
            EXPECT_NEAR(std::remainder(angle - (LabelAngle(*old_label) - 20), 360.0), 0.0, 1e-6)
                << id;
        }
        const json& anchor = (*stroke)["parts"][0][0];
        double nearest = 1e9;
        for (const auto& [a, b] : segments) {
            nearest = std::min(nearest, DistanceToSegment(anchor[0], anchor[1], a, b));
        }
        EXPECT_LT(nearest, 1e-6) << id << " snapped onto a rail";
    }
}

TEST_F(DemoSessionTest, ReportNamesTheAddonEveryStepAndWhatChanged) {
    const std::string report = ReadAll(dir_ + L"report.txt");
    const json script = json::parse(ReadAll(Script()));
    const std::size_t raised = Selected(script, "Отметки, записанные на 0,5 м ниже").size();
    const std::size_t rails = Selected(script, "Все отметки головки рельса").size();
    const std::string expected[] = {
        "add-on: ",
        "  command 1 ",
        "  command 2 ",
        "[" + std::to_string(script["steps"].size() - 1) + "] select — Выделение снято",
        "Высоты +0,5 (",
        "changed: " + std::to_string(raised) + " objects: " + std::to_string(raised) +
            " values changed",
        "Авто отметка: отметки привязаны к рельсам (",
        "changed: " + std::to_string(rails) + " objects: " + std::to_string(rails) +
            " points or strokes moved",
        "rebuilt as marks",
        "«Импорт»: высоты по каталогу, ответ «Да» (",
        "changed: 13 objects: 13 values changed",
        "read_text — Окно «Результат импорта» (",
        "    | Импорт выполнен: изменено отметок 13; строк 328, найдено отметок 324, без "
        "отметки 3, плохих строк 1.\n",
        "    | строка 43: 901 10,500 16,000 149,12 — нет отметки в пределах допуска\n",
        "    | строка 205: 977 44,1O5 61,930 152,37 — X не число: «44,1O5»\n",
        "Расставить подписи: каждая там, где ничего не перекрывает (",
        "labels, as the host measures them:\n  before: ",
        " 0 overlapping pairs, 0 covering a point, ",
        "result: every step carried out\n",
    };
    for (const std::string& line : expected) {
        EXPECT_NE(report.find(line), std::string::npos) << line << "\nin:\n" << report;
    }
}

TEST_F(DemoSessionTest, WritesThePicturesAtTheirSizes) {
    const std::string before = ReadAll(dir_ + L"before.png");
    const std::string after = ReadAll(dir_ + L"after.png");
    const struct {
        const char* label;
        PngSize size;
        unsigned width;
        unsigned height;
    } cases[] = {
        {"before", SizeOf(before), 1000, 700},
        {"after", SizeOf(after), 1000, 700},
        {"window", SizeOf(ReadAll(dir_ + L"window.png")), 1000, 720},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.size.png) << c.label;
        EXPECT_EQ(c.size.width, c.width) << c.label;
        EXPECT_EQ(c.size.height, c.height) << c.label;
    }
    EXPECT_NE(before, after) << "the corrections show on the map";
    const PngSize result = SizeOf(ReadAll(dir_ + L"import-result.png"));
    EXPECT_TRUE(result.png) << "the import's result window";
    EXPECT_GE(result.width, 760u);
    EXPECT_GE(result.height, 300u);
    const PngSize panel = SizeOf(ReadAll(dir_ + L"panel.png"));
    EXPECT_TRUE(panel.png);
    EXPECT_GE(panel.width, 232u) << "the panel's client area and its frame";
    EXPECT_GE(panel.height, 492u);
}

}  // namespace
}  // namespace kavrel::host
