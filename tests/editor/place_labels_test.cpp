// "Расставить подписи" clicked in the stand-in host on small situations, each
// judged by the host's own measure of the labels (its painter's font), which
// the add-on cannot see.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

#include "host/com/map_painter.h"
#include "tests/editor/editor_fixture.h"

namespace kavrel::test {
namespace {

// A plain mark: point (x, y), label "150,26" horizontal from (lx, ly).
std::string Mark(const char* id, double x, double y, double lx, double ly) {
    return std::string(R"({"id": ")") + id + R"(", "layer": "L1", "values": {"A.H": 150.26},
       "shapes": [ {"style": "SP", "flag": true, "parts": [[[)" +
           std::to_string(x) + ", " + std::to_string(y) + R"(, 0]]]},
                   {"style": "ST", "parts": [[[)" +
           std::to_string(lx) + ", " + std::to_string(ly) + ", 0], [" + std::to_string(lx) + ", " +
           std::to_string(ly + 0.5) + ", 0]]]} ]}";
}

// A line of style SX (layer L1) or RL (layer LR) from (x0, y0) to (x1, y1).
std::string Line(const char* id, const char* style, double x0, double y0, double x1, double y1) {
    const bool rail = std::string(style) == "RL";
    return std::string(R"({"id": ")") + id + R"(", "layer": ")" + (rail ? "LR" : "L1") +
           R"(", "shapes": [ {"style": ")" + style + R"(", "parts": [[[)" + std::to_string(x0) +
           ", " + std::to_string(y0) + ", 0], [" + std::to_string(x1) + ", " + std::to_string(y1) +
           ", 0]]]} ]}";
}

class PlaceLabelsTest : public EditorTest {
  protected:
    host::Legibility Measure() { return host::MeasureMapLegibility(Model(), u','); }
    // Each mark's label as committed.
    std::map<std::u16string, std::vector<host::Vertex>> Labels() {
        std::map<std::u16string, std::vector<host::Vertex>> labels;
        for (const auto& object : Model().objects()) {
            const auto& shapes = object->CommittedState().shapes;
            if (!shapes.empty() && shapes.back().style == u"ST") {
                labels[object->id] = shapes.back().parts[0].vertices;
            }
        }
        return labels;
    }
};

TEST_F(PlaceLabelsTest, LabelsGoWhereTheHostSeesThemClear) {
    const struct {
        const char* label;
        std::string objects;
        std::set<std::u16string> selected;
        host::Legibility before;
        host::Legibility after;
        std::set<std::u16string> moved;
        std::vector<std::wstring> messages;
    } cases[] = {
        {"two marks whose labels collide: the first stays",
         "[" + Mark("P1", 10, 10, 10.3, 10.3) + "," + Mark("P2", 10, 11, 10.35, 11.2) + "]",
         {u"P1", u"P2"},
         host::Legibility{2, 1, 0, 0, 0},
         host::Legibility{2, 0, 0, 0, 0},
         {u"P2"},
         {}},
        {"a label on its own point and a contour line above it",
         "[" + Mark("P1", 10, 10, 9.9, 9.8) + "," + Line("C1", "SX", 11, 5, 11, 15) + "]",
         {u"P1"},
         host::Legibility{1, 0, 1, 0, 0},
         host::Legibility{1, 0, 0, 0, 0},
         {u"P1"},
         {}},
        {"a mark by a contour line",
         "[" + Mark("P1", 10, 10, 10.3, 10.3) + "," + Line("C1", "SX", 10.6, 5, 10.6, 15) + "]",
         {u"P1"},
         host::Legibility{1, 0, 0, 1, 0},
         host::Legibility{1, 0, 0, 0, 0},
         {u"P1"},
         {}},
        {"a rail of another layer through the label",
         "[" + Mark("P1", 10, 10, 10.3, 10.3) + "," + Line("R1", "RL", 9, 10.8, 12, 11.4) + "]",
         {u"P1"},
         host::Legibility{1, 0, 0, 1, 0},
         host::Legibility{1, 0, 0, 0, 0},
         {u"P1"},
         {}},
        {"a neighbour not selected keeps its label, the selected one goes clear of it",
         "[" + Mark("P1", 10, 10, 9.9, 9.8) + "," + Mark("P2", 10.4, 10.2, 10.55, 10.5) + "]",
         {u"P1"},
         host::Legibility{2, 1, 1, 0, 0},
         host::Legibility{2, 0, 0, 0, 0},
         {u"P1"},
         {}},
        {"the current place kept when free",
         "[" + Mark("P1", 10, 10, 9.2, 10.3) + "," + Line("C1", "SX", 11, 5, 11, 15) + "]",
         {u"P1"},
         host::Legibility{1, 0, 0, 0, 0},
         host::Legibility{1, 0, 0, 0, 0},
         {},
         {}},
        // Lines a label height apart on every side: no place is clear.
        {"a crowded corner with no free place",
         "[" + Mark("P1", 10, 10, 9.9, 9.8) + "," + Line("A", "SX", 9.5, 5, 9.5, 15) + "," +
             Line("B", "SX", 10.5, 5, 10.5, 15) + "," + Line("C", "SX", 5, 9.5, 15, 9.5) + "," +
             Line("D", "SX", 5, 10.5, 15, 10.5) + "]",
         {u"P1"},
         host::Legibility{1, 0, 1, 1, 0},
         host::Legibility{1, 0, 0, 1, 0},
         {u"P1"},
         {L"Подписей без свободного места: 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        OpenPanelOn(MarkProject(c.objects, kMarkPreferences));
        Select({c.selected.begin(), c.selected.end()});
        const auto before = Labels();
        EXPECT_EQ(Measure(), c.before);
        EXPECT_EQ(Click("btnPlaceLabels"), c.messages);
        EXPECT_EQ(Measure(), c.after);
        std::set<std::u16string> moved;
        for (const auto& [id, label] : Labels()) {
            if (label != before.at(id)) {
                moved.insert(id);
            }
        }
        EXPECT_EQ(moved, c.moved);
        EXPECT_EQ(Calls("IHostContourPart.SetVertex"), 2 * static_cast<long>(c.moved.size()))
            << "only the labels that move are written";
        EXPECT_EQ(Calls("IHostMapObjects.CommitChanges"), static_cast<long>(c.moved.size()));
        EXPECT_EQ(host_->redraws, 1);
        EXPECT_TRUE(Model().ObjectsWithPendingEdits().empty());
        for (const std::u16string& id : c.moved) {
            const auto& label = Committed(id.c_str()).shapes.back().parts[0].vertices;
            EXPECT_EQ(label[0].x, label[1].x) << "horizontal";
            EXPECT_NEAR(label[1].y - label[0].y, 0.5, 1e-12) << "its baseline keeps its length";
        }
        TearDown();
    }
}

TEST_F(PlaceLabelsTest, ABadLabelHeightOrNoHeightFieldIsRefusedBeforeAnythingChanges) {
    const struct {
        const char* label;
        std::string preferences;
        std::wstring message;
    } cases[] = {
        {"not a number", R"({"kavreleditor_labelheight": "abc"})", L"Неверный ввод числа abc"},
        {"zero", R"({"kavreleditor_labelheight": "0"})", L"Неверный ввод числа 0"},
        {"no height field", R"({"kavreleditor_tfield": ""})",
         L"Не выбрано поле высоты отметки: задайте его в настройке."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        nlohmann::json preferences = nlohmann::json::parse(kMarkPreferences);
        preferences.update(nlohmann::json::parse(c.preferences));
        OpenPanelOn(
            MarkProject("[" + Mark("P1", 10, 10, 9.9, 9.8) + "]", preferences.dump(), R"(["P1"])"));
        const long calls = host_->accounting().TotalCalls();
        EXPECT_EQ(Click("btnPlaceLabels"), std::vector<std::wstring>{c.message});
        EXPECT_EQ(host_->accounting().TotalCalls(), calls) << "no host call";
        TearDown();
    }
}

}  // namespace
}  // namespace kavrel::test
