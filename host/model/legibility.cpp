#include "host/model/legibility.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "host/model/label_text.h"
#include "host/model/spatial_index.h"

namespace kavrel::host {
namespace {

// Boxes, points and lines closer than this to an edge count as apart: touching
// is not overlapping, and coordinates written to a thousandth do not flicker.
constexpr double kTolerance = 1e-9;

// A label's text box: its baseline's start, the unit direction u of the text
// and the text's extent. "Up" for the text is u turned a quarter to the left,
// n = (u.y, -u.x) with x northward and y eastward.
struct LabelBox {
    const MapObject* object = nullptr;
    Vertex origin;
    double ux = 0;
    double uy = 1;
    TextExtent extent;

    double Along(double x, double y) const { return (x - origin.x) * ux + (y - origin.y) * uy; }
    double Up(double x, double y) const { return (x - origin.x) * uy - (y - origin.y) * ux; }
    Vertex Local(const Vertex& v) const { return {Along(v.x, v.y), Up(v.x, v.y), 0}; }
    // The box in its own coordinates (along, up), shrunk by the tolerance.
    Rect Interior() const {
        return {kTolerance, -extent.descent + kTolerance, extent.width - kTolerance,
                extent.ascent - kTolerance};
    }
    Vertex Corner(double along, double up) const {
        return {origin.x + ux * along + uy * up, origin.y + uy * along - ux * up, 0};
    }
    std::vector<Vertex> Corners() const {
        return {Corner(0, -extent.descent), Corner(extent.width, -extent.descent),
                Corner(extent.width, extent.ascent), Corner(0, extent.ascent)};
    }
    Rect Bounds() const { return *BoundsOf(Corners()); }
    bool Holds(const Vertex& v) const {
        const Vertex local = Local(v);
        const Rect inside = Interior();
        return local.x > inside.xmin && local.x < inside.xmax && local.y > inside.ymin &&
               local.y < inside.ymax;
    }
    bool MetBy(const Vertex& a, const Vertex& b) const {
        return SegmentMeetsRect(Local(a), Local(b), Interior());
    }
    // Distance from a point to the nearest point of the box, 0 inside it.
    double DistanceTo(const Vertex& v) const {
        const double along = Along(v.x, v.y);
        const double up = Up(v.x, v.y);
        return std::hypot(along - std::clamp(along, 0.0, extent.width),
                          up - std::clamp(up, -extent.descent, extent.ascent));
    }
};

// Separating axes: two convex boxes overlap unless their shadows on one of
// the four edge directions are apart.
bool Overlap(const LabelBox& a, const LabelBox& b) {
    const std::vector<Vertex> ca = a.Corners();
    const std::vector<Vertex> cb = b.Corners();
    const double axes[4][2] = {{a.ux, a.uy}, {a.uy, -a.ux}, {b.ux, b.uy}, {b.uy, -b.ux}};
    for (const auto& axis : axes) {
        auto shadow = [&](const std::vector<Vertex>& corners) {
            double low = INFINITY;
            double high = -INFINITY;
            for (const Vertex& c : corners) {
                const double p = c.x * axis[0] + c.y * axis[1];
                low = std::min(low, p);
                high = std::max(high, p);
            }
            return std::pair{low, high};
        };
        const auto [a_low, a_high] = shadow(ca);
        const auto [b_low, b_high] = shadow(cb);
        if (std::min(a_high, b_high) - std::max(a_low, b_low) <= kTolerance) {
            return false;
        }
    }
    return true;
}

struct Segment {
    Vertex a;
    Vertex b;
};

// What the painter draws, gathered from the committed map.
struct MapContent {
    std::vector<LabelBox> labels;
    std::vector<Vertex> points;
    std::vector<Segment> segments;
};

void AddLabels(const MapModel& model, const MapObject& object, const Shape& shape,
               const Style& style, char16_t separator, const TextMeasure& measure,
               MapContent& content) {
    const std::u16string text = LabelText(model, object, style, separator);
    if (text.empty()) {
        return;
    }
    const TextExtent extent = measure(text);
    for (const ContourPart& part : shape.parts) {
        if (part.vertices.empty()) {
            continue;
        }
        LabelBox box;
        box.object = &object;
        box.origin = part.vertices[0];
        box.extent = extent;
        if (part.vertices.size() >= 2) {
            const double dx = part.vertices[1].x - part.vertices[0].x;
            const double dy = part.vertices[1].y - part.vertices[0].y;
            const double length = std::hypot(dx, dy);
            if (length > 0 && std::isfinite(length)) {
                box.ux = dx / length;
                box.uy = dy / length;
            }
        }
        content.labels.push_back(box);
    }
}

MapContent ContentOf(const MapModel& model, char16_t separator, const TextMeasure& measure) {
    MapContent content;
    for (const auto& object : model.objects()) {
        for (const Shape& shape : object->CommittedState().shapes) {
            const Style* style = model.FindStyle(shape.style);
            if (!style) {
                continue;
            }
            if (style->kind == StyleKind::Text) {
                AddLabels(model, *object, shape, *style, separator, measure, content);
                continue;
            }
            for (const ContourPart& part : shape.parts) {
                const std::vector<Vertex>& v = part.vertices;
                if (style->kind == StyleKind::Point) {
                    content.points.insert(content.points.end(), v.begin(), v.end());
                    continue;
                }
                for (std::size_t i = 1; i < v.size(); ++i) {
                    content.segments.push_back({v[i - 1], v[i]});
                }
                if (style->kind == StyleKind::Polygon && v.size() >= 3) {
                    content.segments.push_back({v.back(), v.front()});
                }
            }
        }
    }
    return content;
}

// The point of a mark: vertex 0 of its point shape, or else of a stroke of
// two vertices (a rail mark); none for other objects.
std::optional<Vertex> MarkPoint(const MapModel& model, const MapObject& object) {
    std::optional<Vertex> stroke;
    for (const Shape& shape : object.CommittedState().shapes) {
        const Style* style = model.FindStyle(shape.style);
        if (!style || shape.parts.empty() || shape.parts[0].vertices.empty()) {
            continue;
        }
        const std::vector<Vertex>& v = shape.parts[0].vertices;
        if (style->kind == StyleKind::Point) {
            return v[0];
        }
        if (style->kind == StyleKind::Line && v.size() == 2 && !stroke) {
            stroke = v[0];
        }
    }
    return stroke;
}

Rect PointBox(const Vertex& v) {
    return {v.x, v.y, v.x, v.y};
}

}  // namespace

Legibility MeasureLegibility(const MapModel& model, char16_t decimal_separator,
                             const TextMeasure& measure, double far_distance) {
    const MapContent content = ContentOf(model, decimal_separator, measure);
    SpatialIndex labels;
    SpatialIndex points;
    SpatialIndex segments;
    for (std::size_t i = 0; i < content.labels.size(); ++i) {
        labels.Update(i, content.labels[i].Bounds());
    }
    for (std::size_t i = 0; i < content.points.size(); ++i) {
        points.Update(i, PointBox(content.points[i]));
    }
    for (std::size_t i = 0; i < content.segments.size(); ++i) {
        segments.Update(i, BoundsOf({content.segments[i].a, content.segments[i].b}));
    }

    Legibility result;
    result.labels = content.labels.size();
    for (std::size_t i = 0; i < content.labels.size(); ++i) {
        const LabelBox& box = content.labels[i];
        const Rect bounds = box.Bounds();
        for (std::size_t j : labels.Candidates(bounds)) {
            if (j > i && Overlap(box, content.labels[j])) {
                ++result.overlapping_pairs;
            }
        }
        const auto covered = points.Candidates(bounds);
        if (std::any_of(covered.begin(), covered.end(),
                        [&](std::size_t p) { return box.Holds(content.points[p]); })) {
            ++result.covering_points;
        }
        const auto crossing = segments.Candidates(bounds);
        if (std::any_of(crossing.begin(), crossing.end(), [&](std::size_t s) {
                return box.MetBy(content.segments[s].a, content.segments[s].b);
            })) {
            ++result.crossed_by_lines;
        }
        if (const auto point = MarkPoint(model, *box.object)) {
            if (box.DistanceTo(*point) > far_distance) {
                ++result.far_from_point;
            }
        }
    }
    return result;
}

}  // namespace kavrel::host
