// What a step changed: snapshots of the committed map compared shape by shape
// and value by value, and the report lines made of them.
#include "host/session/step_changes.h"

#include <gtest/gtest.h>

#include <functional>

#include "host/model/project_file.h"
#include "host/session/session_report.h"

namespace kavrel::host {
namespace {

constexpr const char* kProject = R"json({
  "layers": [ {"id":"L1", "name":"Рельеф", "tables":[ {"name":"A", "fields":["H","N"]} ],
               "styles":[ {"id":"SP", "name":"Точка", "kind":"point"},
                          {"id":"ST", "name":"Подпись", "kind":"text", "text":"{A.H}"},
                          {"id":"SR", "name":"Рельс", "kind":"line"} ] } ],
  "objects":[ {"id":"O1", "layer":"L1",
               "shapes":[ {"style":"SP", "flag":true, "parts":[ [[10,20,0]] ]},
                          {"style":"ST", "parts":[ [[10.2,20.2,0],[10.2,20.7,0]] ]} ],
               "values":{"A.H":147.12} },
              {"id":"O2", "layer":"L1",
               "shapes":[ {"style":"SR", "parts":[ [[0,0,0],[0.2,0,0]] ]} ] } ] })json";

Vertex& LabelVertex(MapModel& model, int index) {
    return model.Edit(*model.FindObject(u"O1")).shapes[1].parts[0].vertices[index];
}

struct ChangeCase {
    const char* label;
    std::function<void(MapModel&)> edit;
    bool commit;
    StepChanges expected;
    const char* example;  // first example line, "" for none
};

class StepChangesTest : public testing::TestWithParam<ChangeCase> {};

TEST_P(StepChangesTest, CountsWhatTheEditChanged) {
    const ChangeCase& c = GetParam();
    MapModel model = LoadProject(kProject);
    const ModelSnapshot before = SnapshotOf(model);
    c.edit(model);
    if (c.commit) {
        model.CommitAll();
    }
    const StepChanges got = CompareSnapshots(model, before, SnapshotOf(model), u',');
    EXPECT_EQ(got.objects, c.expected.objects);
    EXPECT_EQ(got.labels_turned, c.expected.labels_turned);
    EXPECT_EQ(got.labels_moved, c.expected.labels_moved);
    EXPECT_EQ(got.anchors_changed, c.expected.anchors_changed);
    EXPECT_EQ(got.rebuilt, c.expected.rebuilt);
    EXPECT_EQ(got.values_changed, c.expected.values_changed);
    if (*c.example) {
        ASSERT_FALSE(got.examples.empty());
        EXPECT_EQ(got.examples.front(), c.example);
    } else {
        EXPECT_TRUE(got.examples.empty());
    }
}

StepChanges Counts(std::size_t objects, std::size_t turned, std::size_t moved, std::size_t anchors,
                   std::size_t rebuilt, std::size_t values) {
    StepChanges c;
    c.objects = objects;
    c.labels_turned = turned;
    c.labels_moved = moved;
    c.anchors_changed = anchors;
    c.rebuilt = rebuilt;
    c.values_changed = values;
    return c;
}

INSTANTIATE_TEST_SUITE_P(
    Edits, StepChangesTest,
    testing::Values(
        ChangeCase{"nothing", [](MapModel&) {}, true, Counts(0, 0, 0, 0, 0, 0), ""},
        ChangeCase{"label turned about its start",
                   [](MapModel& m) {
                       LabelVertex(m, 1) = {10.7, 20.2, 0};
                   },
                   true, Counts(1, 1, 0, 0, 0, 0), ""},
        ChangeCase{"label moved, same direction",
                   [](MapModel& m) {
                       LabelVertex(m, 0).x += 0.2;
                       LabelVertex(m, 1).x += 0.2;
                   },
                   true, Counts(1, 0, 1, 0, 0, 0), ""},
        ChangeCase{"a pending edit is not a change yet",
                   [](MapModel& m) { LabelVertex(m, 0).x += 0.2; }, false, Counts(0, 0, 0, 0, 0, 0),
                   ""},
        ChangeCase{"rail stroke turned",
                   [](MapModel& m) {
                       m.Edit(*m.FindObject(u"O2")).shapes[0].parts[0].vertices[1] = {0, 0.2, 0};
                   },
                   true, Counts(1, 0, 0, 1, 0, 0), ""},
        ChangeCase{"height raised, decimal comma in the example",
                   [](MapModel& m) { m.Edit(*m.FindObject(u"O1")).values[u"A.H"] = 147.62; }, true,
                   Counts(1, 0, 0, 0, 0, 1), "O1 A.H: 147,12 -> 147,62"},
        ChangeCase{"value added as text",
                   [](MapModel& m) { m.Edit(*m.FindObject(u"O2")).values[u"A.N"] = u"мост"; }, true,
                   Counts(1, 0, 0, 0, 0, 1), "O2 A.N: — -> «мост»"},
        ChangeCase{"value cleared",
                   [](MapModel& m) { m.Edit(*m.FindObject(u"O1")).values.erase(u"A.H"); }, true,
                   Counts(1, 0, 0, 0, 0, 1), "O1 A.H: 147,12 -> —"},
        ChangeCase{"label lost: the shape list changed",
                   [](MapModel& m) { m.Edit(*m.FindObject(u"O1")).shapes.pop_back(); }, true,
                   Counts(1, 0, 0, 0, 1, 0), "O1 shapes rebuilt (2 -> 1)"},
        ChangeCase{"two objects, turned and raised",
                   [](MapModel& m) {
                       LabelVertex(m, 1) = {10.7, 20.2, 0};
                       m.Edit(*m.FindObject(u"O1")).values[u"A.H"] = 148.0;
                       m.Edit(*m.FindObject(u"O2")).shapes[0].parts[0].vertices[0].y = 1;
                   },
                   true, Counts(2, 1, 0, 1, 0, 1), "O1 A.H: 147,12 -> 148"}),
    [](const testing::TestParamInfo<ChangeCase>& info) {
        std::string name;
        for (const char* p = info.param.label; *p; ++p) {
            name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        }
        return name;
    });

struct LineCase {
    const char* label;
    StepChanges changes;
    const char* expected;
};

TEST(ChangeLineTest, SaysEachKindOfChangeOnce) {
    const LineCase cases[] = {
        {"none", Counts(0, 0, 0, 0, 0, 0), "no change on the map"},
        {"one object", Counts(1, 1, 0, 0, 0, 0), "1 object: 1 labels turned"},
        {"mixed, in a fixed order", Counts(7, 2, 3, 4, 5, 6),
         "7 objects: 5 rebuilt as marks; 2 labels turned; 3 labels moved; 4 points or strokes "
         "moved; 6 values changed"},
    };
    for (const LineCase& c : cases) {
        EXPECT_EQ(ChangeLine(c.changes), c.expected) << c.label;
    }
}

TEST(FormatReportTest, NamesEveryStepItsTimeAndTheOutcome) {
    ReportHeader header;
    header.project = "sheet.json";
    header.objects = 3;
    header.addon = "KAVREL — Отметки {9EA2AFB5}";
    header.commands = {"1 \"Настройка\"", "2 \"Редактор\""};
    header.decimal = ",";
    header.host = "64-bit (x64)";
    StepRecord select{"0",   "select", "Все отметки", "selected 2 objects: O1, O2", 0.5, {}, 0,
                      false, {}};
    StepRecord click{"1",
                     "click",
                     "",
                     "TfKavrelEditor.sb0",
                     12.5,
                     Counts(2, 2, 0, 0, 0, 0),
                     1,
                     true,
                     {"Итог: 2", "строка 3"}};
    header.failure = "1 (click): refused";
    header.legibility_before = Legibility{5, 4, 3, 2, 1};
    header.legibility_after = Legibility{5, 0, 0, 1, 0};
    const std::string text = FormatReport(header, {select, click});
    const char* expected[] = {
        "project: sheet.json (3 objects)\n",
        "host: maphost, 64-bit (x64)\n",
        "  command 1 \"Настройка\"\n",
        "  command 2 \"Редактор\"\n",
        "[0] select — Все отметки (0.5 ms)\n    selected 2 objects: O1, O2\n",
        "[1] click (12.5 ms) FAILED\n    TfKavrelEditor.sb0\n    changed: 2 objects: 2 labels "
        "turned\n    | Итог: 2\n    | строка 3\n    message boxes: 1\n",
        "2 steps, 2 object changes, 13.0 ms in steps\n",
        "labels, as the host measures them:\n"
        "  before: 5 labels: 4 overlapping pairs, 3 covering a point, 2 crossed by a line, 1 "
        "far from their point\n"
        "  after:  5 labels: 0 overlapping pairs, 0 covering a point, 1 crossed by a line, 0 "
        "far from their point\n",
        "result: stopped: 1 (click): refused\n",
    };
    for (const char* line : expected) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\nin:\n" << text;
    }
}

}  // namespace
}  // namespace kavrel::host
