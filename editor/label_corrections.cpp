// Label presets, label and rail rotation, and label moves: each walks the
// selection, finds the mark's shapes afresh for every object and commits the
// object on its own. An object that lacks the shapes a correction needs is
// skipped; it never borrows another object's anchor or label.
#include "base/errors.h"
#include "editor/mark_editor.h"
#include "editor/mark_geometry.h"
#include "editor/mark_shapes.h"
#include "frame/library_refs.h"

namespace kavrel {
namespace {

MapPoint ToPoint(const gis::Vertex& v) {
    return {v.x, v.y};
}

}  // namespace

template <typename PerObject>
void MarkEditor::ForEachSelected(PerObject&& work) {
    IHostMapObjects* objects = RequireMapObjects();
    VisitSelection(gis::RequireApp(), objects, [&](IHostMapObject* object) {
        if (work(object)) {
            gis::Commit(objects);
        }
    });
}

void MarkEditor::SetLabelAngle(double angle) {
    PrepareSelectedMarks();
    const double a = DegreesToRadians(angle);
    ForEachSelected([&](IHostMapObject* object) {
        const MarkShapes mark =
            FindMarkShapes(object, {&settings.PointStyle}, {&settings.TextStyle});
        if (!mark.anchor || !mark.label) {
            return false;
        }
        const gis::Vertex anchor = gis::VertexAt(gis::FirstPart(mark.anchor.get()).get(), 0);
        const ComPtr<IHostContourPart> label = gis::FirstPart(mark.label.get());
        const gis::Vertex start = gis::VertexAt(label.get(), 0);
        // Read before anything is written: the label must have its end.
        const gis::Vertex end = gis::VertexAt(label.get(), 1);
        const Baseline b = PresetBaseline(ToPoint(anchor), ToPoint(start), a);
        WriteBaseline(label.get(), mark.Label(), {start, end},
                      {{b.start.x, b.start.y, 0.0}, {b.end.x, b.end.y, 0.0}});
        return true;
    });
}

void MarkEditor::RotateLabels(double angle) {
    PrepareSelectedMarks();
    const double a = DegreesToRadians(angle);
    ForEachSelected([&](IHostMapObject* object) {
        // Plain and rail marks alike, in either mode.
        const MarkShapes mark = FindMarkShapes(object, {&settings.PointStyle, &settings.RailStyle},
                                               {&settings.TextStyle, &settings.RailTextStyle});
        if (!mark.anchor || !mark.label) {
            return false;
        }
        const gis::Vertex anchor = gis::VertexAt(gis::FirstPart(mark.anchor.get()).get(), 0);
        const ComPtr<IHostContourPart> label = gis::FirstPart(mark.label.get());
        const gis::Vertex v0 = gis::VertexAt(label.get(), 0);
        const gis::Vertex v1 = gis::VertexAt(label.get(), 1);
        gis::Vertex t0 = v0;
        gis::Vertex t1 = v1;
        RotateAround(t0.x, t0.y, anchor.x, anchor.y, a);
        RotateAround(t1.x, t1.y, anchor.x, anchor.y, a);
        WriteBaseline(label.get(), mark.Label(), {v0, v1}, {{t0.x, t0.y, 0.0}, {t1.x, t1.y, 0.0}});
        return true;
    });
}

void MarkEditor::RotateRailShapes(double angle) {
    PrepareSelectedMarks();
    const double a = DegreesToRadians(angle);
    ForEachSelected([&](IHostMapObject* object) {
        const LONG count = gis::ShapeCount(gis::Shapes(object).get());
        for (LONG j = 0; j < count; ++j) {
            const ComPtr<IHostShape> shape = gis::ShapeAt(gis::Shapes(object).get(), j);
            if (gis::StyleId(shape.get()) != settings.RailStyle) {
                continue;
            }
            const ComPtr<IHostContourPart> part = gis::FirstPart(shape.get());
            const gis::Vertex v0 = gis::VertexAt(part.get(), 0);
            const gis::Vertex v1 = gis::VertexAt(part.get(), 1);
            gis::Vertex turned = v1;
            RotateAround(turned.x, turned.y, v0.x, v0.y, a);
            WriteVertex(part.get(), {j, count, settings.RailStyle}, 1, v1, turned);
            break;
        }
        // Committed whether or not it carried a rail stroke.
        return true;
    });
}

void MarkEditor::MoveLabels(double dx, double dy) {
    PrepareSelectedMarks();
    ForEachSelected([&](IHostMapObject* object) {
        const MarkShapes mark =
            FindMarkShapes(object, {}, {&settings.TextStyle, &settings.RailTextStyle});
        if (!mark.label) {
            return false;
        }
        const ComPtr<IHostContourPart> label = gis::FirstPart(mark.label.get());
        const gis::Vertex v0 = gis::VertexAt(label.get(), 0);
        const gis::Vertex v1 = gis::VertexAt(label.get(), 1);
        WriteBaseline(label.get(), mark.Label(), {v0, v1},
                      {{v0.x + dx, v0.y + dy, 0.0}, {v1.x + dx, v1.y + dy, 0.0}});
        return true;
    });
}

}  // namespace kavrel
