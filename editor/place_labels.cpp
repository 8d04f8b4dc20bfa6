// "Расставить подписи": every selected mark's label put where it stands clear
// of other labels, of the points of marks and of the lines of the map's
// layers. The map is read here, the places are decided by PlaceLabels
// (label_placement.h), and only the labels that move are written.
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "base/errors.h"
#include "editor/id_set.h"
#include "editor/label_placement.h"
#include "editor/mark_editor.h"
#include "editor/mark_shapes.h"
#include "frame/custom_addon.h"
#include "frame/library_refs.h"
#include "gis/sdk_records.h"

namespace kavrel {
namespace {

// How far from its point, in label heights, the farthest of the eight places
// reaches beyond the label's width (the gap and the text's cell).
constexpr double kPlacesReach = 1.7;
// Selected marks are gathered in square tiles of this many reaches a side;
// the map's objects near a tile are found with one query per layer. The
// queries of neighbouring tiles overlap by two reaches, so larger tiles meet
// each object fewer times.
constexpr double kTileReaches = 12.0;

// A selected mark as it was read: where its label is written back. Its
// identifier lies in a text shared by all of them.
struct SelectedMark {
    LONG index = 0;  // in the selection
    std::size_t id_start = 0;
    std::size_t id_length = 0;
    LONG label_shape = 0;
    LONG shape_count = 0;
    const std::u16string* label_style = nullptr;
    gis::Vertex start;
    gis::Vertex end;

    WrittenShape Label() const { return {label_shape, shape_count, *label_style}; }
};

MapPoint ToPoint(const gis::Vertex& v) {
    return {v.x, v.y};
}

// The vertices of one part.
std::vector<MapPoint> PartPoints(IHostContourPart* part) {
    const LONG count = gis::VertexCount(part);
    std::vector<MapPoint> points;
    points.reserve(static_cast<std::size_t>(std::max<LONG>(count, 0)));
    for (LONG v = 0; v < count; ++v) {
        points.push_back(ToPoint(gis::VertexAt(part, v)));
    }
    return points;
}

// A chain of three or more vertices whose end comes back to its start within
// its longest side is taken for a ring: a polygon's outline is stored without
// its first vertex again, and the host does not say which shapes are
// polygons. Its closing side is a line like the others.
bool LooksClosed(const std::vector<MapPoint>& points) {
    if (points.size() < 3) {
        return false;
    }
    double longest = 0.0;
    for (std::size_t k = 1; k < points.size(); ++k) {
        longest = std::max(longest, PointDistance(points[k - 1], points[k]));
    }
    const double gap = PointDistance(points.back(), points.front());
    return gap > 0.0 && gap <= longest;
}

// A point of one vertex, a line of more.
void AddShapeOutline(std::vector<MapPoint> points, LabelObstacles& obstacles) {
    if (points.size() == 1) {
        obstacles.points.push_back(points[0]);
        return;
    }
    if (LooksClosed(points)) {
        points.push_back(points.front());
    }
    if (points.size() >= 2) {
        obstacles.lines.push_back(std::move(points));
    }
}

// Every layer of every map of the project, each once.
std::vector<std::u16string> ProjectLayerIds() {
    if (!TheAddon) {
        throw AddonError(std::u16string(gis::kNotConnectedMessage));
    }
    const gis::TM2MapProject& project = TheAddon->MapProject;
    std::vector<std::u16string> layers;
    const ComPtr<IM2IDsList> maps = project.GetMapIds();
    const LONG map_count = gis::IdCount(maps.get());
    for (LONG i = 0; i < map_count; ++i) {
        const ComPtr<IM2IDsList> map_layers = project.GetLayerIds(gis::IdAt(maps.get(), i));
        const LONG layer_count = gis::IdCount(map_layers.get());
        for (LONG j = 0; j < layer_count; ++j) {
            std::u16string layer = ReadShortStringWide(gis::IdAt(map_layers.get(), j));
            if (std::find(layers.begin(), layers.end(), layer) == layers.end()) {
                layers.push_back(std::move(layer));
            }
        }
    }
    return layers;
}

Bounds Around(MapPoint p, double reach) {
    return {p.x - reach, p.y - reach, p.x + reach, p.y + reach};
}

void Extend(Bounds& b, const Bounds& other) {
    b.xmin = std::min(b.xmin, other.xmin);
    b.ymin = std::min(b.ymin, other.ymin);
    b.xmax = std::max(b.xmax, other.xmax);
    b.ymax = std::max(b.ymax, other.ymax);
}

// The rectangles the neighbours of the marks are queried in: one per tile of
// marks, covering their eight places and their labels as they stand, widened
// by `margin` so that a label starting outside but reaching in is found.
std::vector<Bounds> QueryRects(const std::vector<MarkLabel>& marks, double reach, double margin) {
    const double tile = kTileReaches * reach;
    std::vector<std::pair<std::pair<double, double>, Bounds>> tiles;
    tiles.reserve(marks.size());
    for (const MarkLabel& mark : marks) {
        Bounds b = Around(mark.anchor, reach);
        Extend(b, LabelBox::OnBaseline(mark.start, mark.end, mark.size).Extent());
        tiles.push_back({{std::floor(mark.anchor.x / tile), std::floor(mark.anchor.y / tile)}, b});
    }
    std::stable_sort(tiles.begin(), tiles.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Bounds> rects;
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        if (i == 0 || tiles[i].first != tiles[i - 1].first) {
            rects.push_back(tiles[i].second);
        } else {
            Extend(rects.back(), tiles[i].second);
        }
    }
    for (Bounds& r : rects) {
        r = {r.xmin - margin, r.ymin - margin, r.xmax + margin, r.ymax + margin};
    }
    return rects;
}

// The labels, points and lines of an object near the marks being placed. Its
// labels are those of the mark label styles; any other shape is a point when
// it has one vertex and a line when it has more.
void ReadNeighbour(IHostMapObject* object, const MarkSettings& settings,
                   const std::u16string& height_text, double label_height,
                   LabelObstacles& obstacles) {
    const LONG shape_count = gis::ShapeCount(gis::Shapes(object).get());
    for (LONG j = 0; j < shape_count; ++j) {
        const ComPtr<IHostShape> shape = gis::ShapeAt(gis::Shapes(object).get(), j);
        const std::u16string style = gis::StyleId(shape.get());
        const bool label =
            !style.empty() && (style == settings.TextStyle || style == settings.RailTextStyle);
        const ComPtr<IHostContour> contour = gis::Contour(shape.get());
        const LONG part_count = gis::PartCount(contour.get());
        std::optional<LabelSize> size;
        for (LONG k = 0; k < part_count; ++k) {
            std::vector<MapPoint> points = PartPoints(gis::PartAt(contour.get(), k).get());
            if (!label) {
                AddShapeOutline(std::move(points), obstacles);
                continue;
            }
            if (points.empty()) {
                continue;
            }
            if (!size) {
                size = EstimateLabelSize(gis::ExpandTemplate(object, height_text), label_height);
            }
            obstacles.labels.push_back(
                LabelBox::OnBaseline(points[0], points.size() >= 2 ? points[1] : points[0], *size));
        }
    }
}

}  // namespace

std::size_t MarkEditor::PlaceLabels(double label_height) {
    if (settings.HeightField.empty()) {
        throw AddonError(kNoHeightFieldMessage);
    }
    PrepareSelectedMarks();
    IHostApplication* app = gis::RequireApp();
    IHostMapObjects* objects = RequireMapObjects();
    const std::u16string height_text = u"{" + settings.HeightField + u"}";
    const std::initializer_list<const std::u16string*> label_styles = {&settings.TextStyle,
                                                                       &settings.RailTextStyle};

    // The selected marks: their points, labels and texts.
    const LONG count = gis::SelectionCount(gis::Selection(app).get());
    const std::size_t expected = static_cast<std::size_t>(std::max<LONG>(count, 0));
    std::vector<SelectedMark> selected;
    std::vector<MarkLabel> marks;
    std::u16string selected_ids;
    selected.reserve(expected);
    marks.reserve(expected);
    LabelObstacles obstacles;
    IdSet read(2 * expected);
    for (LONG i = 0; i < count; ++i) {
        const std::u16string id = gis::SelectedId(gis::Selection(app).get(), i);
        const ComPtr<IHostMapObject> object = gis::ObjectById(objects, id);
        read.Insert(id);
        const MarkShapes shapes =
            FindMarkShapes(object.get(), {&settings.PointStyle, &settings.RailStyle}, label_styles);
        if (!shapes.anchor || !shapes.label) {
            continue;
        }
        const ComPtr<IHostContourPart> anchor_part = gis::FirstPart(shapes.anchor.get());
        const LONG anchor_vertices = gis::VertexCount(anchor_part.get());
        if (anchor_vertices < 1) {
            continue;
        }
        const MapPoint anchor = ToPoint(gis::VertexAt(anchor_part.get(), 0));
        if (anchor_vertices >= 2) {
            obstacles.lines.push_back(PartPoints(anchor_part.get()));  // a rail mark's stroke
        }
        SelectedMark mark;
        mark.index = i;
        mark.id_start = selected_ids.size();
        mark.id_length = id.size();
        selected_ids += id;
        const ComPtr<IHostContourPart> label = gis::FirstPart(shapes.label.get());
        mark.start = gis::VertexAt(label.get(), 0);
        mark.end = gis::VertexAt(label.get(), 1);
        mark.label_shape = shapes.label_index;
        mark.shape_count = shapes.count;
        mark.label_style = shapes.label_style;
        const LabelSize size =
            EstimateLabelSize(gis::ExpandTemplate(object.get(), height_text), label_height);
        marks.push_back({anchor, ToPoint(mark.start), ToPoint(mark.end), size});
        selected.push_back(mark);
    }

    // Their neighbours: the labels, points and lines of every layer near them,
    // each object read once.
    double widest = 0.0;
    for (const MarkLabel& mark : marks) {
        widest = std::max(widest, mark.size.width);
    }
    const double reach = widest + kPlacesReach * label_height;
    const std::vector<std::u16string> layers =
        marks.empty() ? std::vector<std::u16string>() : ProjectLayerIds();
    for (const Bounds& rect : QueryRects(marks, reach, reach)) {
        for (const std::u16string& layer : layers) {
            const ComPtr<IHostQueryCursor> cursor =
                gis::QueryInRect(objects, layer, rect.xmin, rect.ymin, rect.xmax, rect.ymax);
            while (!gis::CursorAtEnd(cursor.get())) {
                const std::u16string id = gis::FetchNextId(cursor.get());
                if (!read.Insert(id)) {
                    continue;
                }
                ReadNeighbour(gis::ObjectById(objects, id).get(), settings, height_text,
                              label_height, obstacles);
            }
        }
    }

    const std::vector<LabelPlace> places = kavrel::PlaceLabels(marks, obstacles, label_height);

    // Only the labels that move are written, each object committed on its own.
    std::size_t crowded = 0;
    for (std::size_t k = 0; k < places.size(); ++k) {
        crowded += places[k].free ? 0 : 1;
        if (!places[k].moved) {
            continue;
        }
        const SelectedMark& mark = selected[k];
        const std::u16string_view id =
            std::u16string_view(selected_ids).substr(mark.id_start, mark.id_length);
        record_.Enter(mark.index, std::u16string(id));
        const ComPtr<IHostMapObject> object = gis::ObjectById(objects, id);
        const ComPtr<IHostShape> label =
            gis::ShapeAt(gis::Shapes(object.get()).get(), mark.label_shape);
        WriteBaseline(
            gis::FirstPart(label.get()).get(), mark.Label(), {mark.start, mark.end},
            {{places[k].start.x, places[k].start.y, 0.0}, {places[k].end.x, places[k].end.y, 0.0}});
        gis::Commit(objects);
    }
    gis::RedrawMap(app);
    record_.Redrew();
    return crowded;
}

}  // namespace kavrel
