#include "bench/bench_projects.h"

#include <cmath>
#include <cstdio>

#include "base/utf8.h"

namespace kavrel::bench {
namespace {

using host::ContourPart;
using host::Shape;
using host::Vertex;

// Marks stand on a square grid this far apart, so that a mark's search
// rectangle (2.0 either way) meets only its own rail line.
constexpr double kSpacing = 10.0;
// Marks among contour lines stand as close as on a 1:500 plan: a label
// ("100,3" at the default label height, 1.6 long) fits between two of them.
constexpr double kDenseSpacing = 3.0;
// A row's contour line runs this far north of its points: through the place
// right-above each point, so that placement has to look further.
constexpr double kContourOffset = 0.7;

Shape MakeShape(const char16_t* style, bool flag, std::vector<Vertex> vertices) {
    Shape shape;
    shape.style = style;
    shape.flag = flag;
    ContourPart part;
    part.vertices = std::move(vertices);
    shape.parts.push_back(std::move(part));
    return shape;
}

void AddLayersAndStyles(host::MapModel& model) {
    model.AddMap(host::Map{u"M1", u"План", {u"L1", u"LR"}});
    model.AddLayer(host::Layer{u"L1", u"Рельеф", {host::SemTable{u"A", {u"H", u"N"}}}, {}});
    model.AddLayer(host::Layer{u"LR", u"Железная дорога", {}, {}});
    using host::StyleKind;
    model.AddStyle(host::Style{u"SP", u"Точка", u"L1", StyleKind::Point, u""});
    model.AddStyle(host::Style{u"ST", u"Подпись", u"L1", StyleKind::Text, u"{A.H}"});
    model.AddStyle(host::Style{u"SR", u"Рельс отметки", u"L1", StyleKind::Line, u""});
    model.AddStyle(host::Style{u"SRT", u"Подпись рельса", u"L1", StyleKind::Text, u"{A.H}"});
    model.AddStyle(host::Style{u"SX", u"Прочее", u"L1", StyleKind::Line, u""});
    model.AddStyle(host::Style{u"RL", u"Рельс", u"LR", StyleKind::Line, u""});
    model.preferences = {
        {u"kavreleditor_pstyle", u"SP"},  {u"kavreleditor_tstyle", u"ST"},
        {u"kavreleditor_rstyle", u"SR"},  {u"kavreleditor_rtstyle", u"SRT"},
        {u"kavreleditor_tfield", u"A.H"}, {u"kavreleditor_rlstyle", u"RL"},
    };
}

}  // namespace

const char* ProjectName(ProjectKind kind) {
    switch (kind) {
        case ProjectKind::PlainMarks:
            return "plain marks";
        case ProjectKind::RailMarks:
            return "rail marks";
        case ProjectKind::NonMarks:
            return "non-mark objects";
        case ProjectKind::ContourMarks:
            return "marks among contour lines";
    }
    return "?";
}

std::u16string ObjectId(std::size_t i) {
    char text[16];
    std::snprintf(text, sizeof text, "K%07u", static_cast<unsigned>(i));
    return Utf8ToWide(text);
}

ObjectPlace PlaceOf(std::size_t i, std::size_t n) {
    const std::size_t side = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(n))));
    return {kSpacing * static_cast<double>(i / side), kSpacing * static_cast<double>(i % side),
            100.0 + 0.1 * static_cast<double>(i % 10)};
}

host::MapModel BuildProject(ProjectKind kind, std::size_t n) {
    host::MapModel model;
    AddLayersAndStyles(model);
    const std::size_t side = static_cast<std::size_t>(std::ceil(std::sqrt(static_cast<double>(n))));
    const double spacing = kind == ProjectKind::ContourMarks ? kDenseSpacing : kSpacing;
    model.selection.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        // The grid of PlaceOf, drawn closer among contour lines.
        const ObjectPlace place = PlaceOf(i, n);
        const double x = place.x * (spacing / kSpacing);
        const double y = place.y * (spacing / kSpacing);
        host::ObjectState state;
        state.values[u"A.H"] = place.height;
        switch (kind) {
            case ProjectKind::PlainMarks:
                state.shapes.push_back(MakeShape(u"SP", true, {{x, y, 0}}));
                state.shapes.push_back(
                    MakeShape(u"ST", false, {{x + 0.2, y + 0.2, 0}, {x + 0.2, y + 0.7, 0}}));
                break;
            case ProjectKind::RailMarks:
                state.shapes.push_back(MakeShape(u"SR", true, {{x, y, 0}, {x + 0.2, y, 0}}));
                state.shapes.push_back(
                    MakeShape(u"SRT", false, {{x + 0.2, y + 0.2, 0}, {x + 0.2, y + 0.7, 0}}));
                break;
            case ProjectKind::NonMarks:
                state.shapes.push_back(MakeShape(u"SX", false, {{x, y, 0}, {x + 1.0, y + 1.0, 0}}));
                break;
            case ProjectKind::ContourMarks:
                state.shapes.push_back(MakeShape(u"SP", true, {{x, y, 0}}));
                state.shapes.push_back(
                    MakeShape(u"ST", false, {{x - 0.1, y - 0.2, 0}, {x - 0.1, y + 0.3, 0}}));
                break;
        }
        model.AddObject(ObjectId(i), u"L1", std::move(state));
        model.selection.push_back(ObjectId(i));
    }
    if (kind == ProjectKind::RailMarks) {
        // One rail line per mark, slanting at 45 degrees through (x + 0.5, y):
        // the anchor lies 0.35 from it and its foot falls inside the segment.
        for (std::size_t i = 0; i < n; ++i) {
            const double x = PlaceOf(i, n).x;
            const double y = PlaceOf(i, n).y;
            host::ObjectState line;
            line.shapes.push_back(
                MakeShape(u"RL", false, {{x - 2.5, y - 3.0, 0}, {x + 3.5, y + 3.0, 0}}));
            model.AddObject(u"R" + ObjectId(i).substr(1), u"LR", std::move(line));
        }
    }
    if (kind == ProjectKind::ContourMarks) {
        // One contour line along each row of marks, a vertex under every mark.
        const std::size_t rows = (n + side - 1) / side;
        for (std::size_t row = 0; row < rows; ++row) {
            const double x = spacing * static_cast<double>(row) + kContourOffset;
            std::vector<Vertex> vertices;
            for (std::size_t column = 0; column <= side; ++column) {
                vertices.push_back({x, spacing * (static_cast<double>(column) - 0.5), 0});
            }
            host::ObjectState line;
            line.shapes.push_back(MakeShape(u"SX", false, std::move(vertices)));
            model.AddObject(u"C" + ObjectId(row).substr(1), u"L1", std::move(line));
        }
    }
    return model;
}

}  // namespace kavrel::bench
