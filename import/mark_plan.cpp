#include "import/mark_plan.h"

#include <optional>

#include "base/number_text.h"
#include "import/import_geometry.h"
#include "import/import_report.h"
#include "undo/click_record.h"
#include "undo/height_field.h"

namespace kavrel {
namespace {

PlanPoint At(const gis::Vertex& v) {
    return {v.x, v.y};
}

// Part 0 of a shape, or nothing when it has no part.
ComPtr<IHostContourPart> PartZero(IHostShape* shape) {
    const ComPtr<IHostContour> contour = gis::Contour(shape);
    if (gis::PartCount(contour.get()) == 0) {
        return {};
    }
    return gis::PartAt(contour.get(), 0);
}

// The point shape the match chose, or the first of the style should the
// object have changed since.
ComPtr<IHostShape> PointShape(IHostShapes* shapes, LONG count, LONG chosen,
                              const std::u16string& style, LONG& index) {
    if (chosen >= 0 && chosen < count) {
        ComPtr<IHostShape> shape = gis::ShapeAt(shapes, chosen);
        if (gis::StyleId(shape.get()) == style) {
            index = chosen;
            return shape;
        }
    }
    for (LONG j = 0; j < count; ++j) {
        ComPtr<IHostShape> shape = gis::ShapeAt(shapes, j);
        if (gis::StyleId(shape.get()) == style) {
            index = j;
            return shape;
        }
    }
    return {};
}

void PlanLabel(MarkPlan& plan, IHostShapes* shapes, IHostShape* point, const ImportSettings& s) {
    ComPtr<IHostShape> label;
    for (LONG j = 0; j < plan.shape_count && !label; ++j) {
        ComPtr<IHostShape> shape = gis::ShapeAt(shapes, j);
        if (gis::StyleId(shape.get()) == s.label_style) {
            label = shape;
            plan.shape = j;
        }
    }
    if (!label) {
        plan.partial = kNoLabelReason;
        return;
    }
    const ComPtr<IHostContourPart> point_part = PartZero(point);
    plan.part = PartZero(label.get());
    if (!plan.part || gis::VertexCount(plan.part.get()) < 2 || !point_part ||
        gis::VertexCount(point_part.get()) == 0) {
        plan.partial = kShortLabelReason;
        return;
    }
    // Placed from where the point stands, not from the surveyed coordinates:
    // the import moves no point.
    const PlanPoint anchor = At(gis::VertexAt(point_part.get(), 0));
    const LabelPlace place = LabelAt(anchor, s.label_north, s.label_east);
    const gis::Vertex after[2] = {{place.start.x, place.start.y, 0.0},
                                  {place.end.x, place.end.y, 0.0}};
    plan.style = &s.label_style;
    for (LONG k = 0; k < 2; ++k) {
        const gis::Vertex before = gis::VertexAt(plan.part.get(), k);
        if (!SameBits(before, after[k])) {
            plan.writes[plan.write_count++] = {k, before, after[k]};
        }
    }
}

void PlanVector(MarkPlan& plan, IHostShape* point, LONG point_index, const ImportSettings& s) {
    plan.part = PartZero(point);
    if (!plan.part || gis::VertexCount(plan.part.get()) != 2) {
        plan.partial = kNotVectorReason;
        return;
    }
    const gis::Vertex start = gis::VertexAt(plan.part.get(), 0);
    const gis::Vertex end = gis::VertexAt(plan.part.get(), 1);
    const std::optional<PlanPoint> to = VectorEnd(At(start), At(end), s.vector_length);
    if (!to) {
        plan.partial = kNoDirectionReason;
        return;
    }
    plan.shape = point_index;
    plan.style = &s.point_style;
    // An end already there up to rounding is left: importing the same text
    // again changes nothing.
    if (Distance(*to, At(end)) > ToleranceSlack(At(start))) {
        plan.writes[plan.write_count++] = {1, end, {to->x, to->y, end.c}};
    }
}

}  // namespace

MarkPlan PlanFor(IHostMapObject* object, LONG point_shape, const SurveyRow& row,
                 const ImportSettings& s) {
    MarkPlan plan;
    const auto now = ParseNumberTextAnyMark(HeightFieldText(object, s.height_field));
    plan.height_known = now.has_value();
    plan.height_before = now.value_or(0.0);
    plan.height = !now || *now != row.z;
    if (s.method == ImportMethod::Points) {
        return plan;
    }
    const ComPtr<IHostShapes> shapes = gis::Shapes(object);
    plan.shape_count = gis::ShapeCount(shapes.get());
    LONG point_index = -1;
    const ComPtr<IHostShape> point =
        PointShape(shapes.get(), plan.shape_count, point_shape, s.point_style, point_index);
    if (!point) {
        plan.partial = s.method == ImportMethod::Vector ? kNotVectorReason : kShortLabelReason;
        return plan;
    }
    if (s.method == ImportMethod::PointsAndLabels) {
        PlanLabel(plan, shapes.get(), point.get(), s);
    } else {
        PlanVector(plan, point.get(), point_index, s);
    }
    return plan;
}

}  // namespace kavrel
