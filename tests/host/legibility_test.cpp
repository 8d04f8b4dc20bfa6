// The host's measure of how legible a map's labels are, on hand-made maps
// whose text boxes are known: every character 0.5 wide, 0.4 above the
// baseline and 0.1 below it.
#include "host/model/legibility.h"

#include <gtest/gtest.h>

#include <string>

#include "host/model/project_file.h"

namespace kavrel::host {

namespace {

TextExtent FixedWidth(std::u16string_view text) {
    return {0.5 * static_cast<double>(text.size()), 0.4, 0.1};
}

// Styles: P point, T label "{A.H}" (all heights here print as two
// characters, a box 1.0 long), R rail stroke, C line, B polygon.
std::string Map(const std::string& objects) {
    return R"({"layers":[{"id":"L1","tables":[{"name":"A","fields":["H"]}],
        "styles":[{"id":"P","kind":"point"},{"id":"T","kind":"text","text":"{A.H}"},
                  {"id":"R","kind":"line"},{"id":"C","kind":"line"},
                  {"id":"B","kind":"polygon"}]}],
      "objects":[)" +
           objects + "]}";
}

// A label of "12" with its baseline from (x, y) towards (x + dx, y + dy).
std::string Label(const char* id, double x, double y, double dx = 0, double dy = 1) {
    return std::string(R"({"id":")") + id + R"(","layer":"L1","values":{"A.H":12},
        "shapes":[{"style":"T","parts":[[[)" +
           std::to_string(x) + "," + std::to_string(y) + "],[" + std::to_string(x + dx) + "," +
           std::to_string(y + dy) + "]]]}]}";
}

// A mark: its point and its label.
std::string Mark(const char* id, double px, double py, double x, double y) {
    return std::string(R"({"id":")") + id + R"(","layer":"L1","values":{"A.H":12},
        "shapes":[{"style":"P","parts":[[[)" +
           std::to_string(px) + "," + std::to_string(py) + R"(]]]},{"style":"T","parts":[[[)" +
           std::to_string(x) + "," + std::to_string(y) + "],[" + std::to_string(x) + "," +
           std::to_string(y + 1) + "]]]}]}";
}

Legibility Measure(const std::string& objects) {
    const MapModel model = LoadProject(Map(objects));
    return MeasureLegibility(model, u',', FixedWidth, 1.2);
}

TEST(LegibilityTest, CountsWhatMakesLabelsHardToRead) {
    const struct {
        const char* label;
        std::string objects;
        Legibility expected;
    } cases[] = {
        {"two labels overlapping", Label("A", 0, 0) + "," + Label("B", 0.3, 0.5),
         Legibility{2, 1, 0, 0, 0}},
        {"three labels in a heap are three pairs",
         Label("A", 0, 0) + "," + Label("B", 0.1, 0.1) + "," + Label("C", 0.2, 0.2),
         Legibility{3, 3, 0, 0, 0}},
        {"end to end, touching only", Label("A", 0, 0) + "," + Label("B", 0, 1),
         Legibility{2, 0, 0, 0, 0}},
        {"one above the other, clear by a hair", Label("A", 0, 0) + "," + Label("B", 0.5001, 0),
         Legibility{2, 0, 0, 0, 0}},
        {"a label on its own point", Mark("M", 0.1, 0.5, 0, 0), Legibility{1, 0, 1, 0, 0}},
        {"a label beside its point", Mark("M", 0.1, -0.2, 0, 0), Legibility{1, 0, 0, 0, 0}},
        {"a contour line through the text",
         Label("A", 0, 0) +
             R"(,{"id":"L","layer":"L1","shapes":[{"style":"C","parts":[[[-1,0.6],[1,0.6]]]}]})",
         Legibility{1, 0, 0, 1, 0}},
        {"a contour line under the text",
         Label("A", 0, 0) +
             R"(,{"id":"L","layer":"L1","shapes":[{"style":"C","parts":[[[-1,-0.2],[-0.2,2]]]}]})",
         Legibility{1, 0, 0, 0, 0}},
        {"a building whose closing side runs through the text",
         Label("A", 0, 0) +
             R"(,{"id":"H","layer":"L1","shapes":[{"style":"B","parts":[[[1,0.5],[1,5],[-1,5],[-1,0.5]]]}]})",
         Legibility{1, 0, 0, 1, 0}},
        // Reading upwards, the text's "up" is west: its box spans y from
        // -0.4 to 0.1 and x from 0 to 1.
        {"a label turned to the north covers what lies west of its baseline",
         Label("A", 0, 0, 1, 0) + "," + Mark("M", 0.5, -0.3, 0.5, 0.3), Legibility{2, 0, 1, 0, 0}},
        {"a label two label heights from its point",
         Mark("M", 0, 0, 0, 1.5) + "," + Mark("N", 5, 0, 5, 1.1), Legibility{2, 0, 0, 0, 1}},
        {"a rail mark's label measured from its stroke",
         R"({"id":"R","layer":"L1","values":{"A.H":12},"shapes":[
             {"style":"R","parts":[[[0,0],[0.2,0]]]},{"style":"T","parts":[[[0,-3],[0,-2]]]}]})",
         Legibility{1, 0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Measure(c.objects), c.expected) << c.label;
    }
}

}  // namespace
}  // namespace kavrel::host
