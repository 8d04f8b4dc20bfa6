// Snapping rail marks onto the nearby rail line.
#include <cmath>
#include <optional>

#include "editor/mark_editor.h"
#include "editor/mark_geometry.h"

namespace kavrel {
namespace {

// The query rectangle is the anchor plus and minus this in x and in y.
constexpr double kSearchHalfWidth = 2.0;
// A rail is taken only when the anchor lies strictly closer than this.
constexpr double kAcceptanceDistance = 1.0;
constexpr double kNoDistanceYet = 1000.0;

ComPtr<IHostMapObjects> FreshMapObjects(IHostApplication* app) {
    return host::MapObjectsOf(host::Database(app).get());
}

// The foot of the perpendicular from p on the nearest accepted rail segment
// among the query's objects (among equally near ones, the last met).
std::optional<MapPoint> FindRailProjection(IHostApplication* app, IHostQueryCursor* cursor,
                                           MapPoint p) {
    double best = kNoDistanceYet;
    std::optional<MapPoint> foot;
    while (!host::CursorAtEnd(cursor)) {
        const std::u16string id = host::FetchNextId(cursor);
        const ComPtr<IHostMapObject> rail = host::ObjectById(FreshMapObjects(app).get(), id);
        const ComPtr<IHostShapes> shapes = host::Shapes(rail.get());
        const LONG shape_count = host::ShapeCount(shapes.get());
        for (LONG j = 0; j < shape_count; ++j) {
            const ComPtr<IHostContour> contour =
                host::Contour(host::ShapeAt(shapes.get(), j).get());
            const LONG part_count = host::PartCount(contour.get());
            for (LONG k = 0; k < part_count; ++k) {
                const ComPtr<IHostContourPart> part = host::PartAt(contour.get(), k);
                const LONG vertex_count = host::VertexCount(part.get());
                if (vertex_count < 2) {
                    continue;
                }
                host::Vertex start = host::VertexAt(part.get(), 0);
                for (LONG v = 1; v < vertex_count; ++v) {
                    const host::Vertex end = host::VertexAt(part.get(), v);
                    const auto projection =
                        ProjectPointOnSegment({start.x, start.y}, {end.x, end.y}, p);
                    if (projection && projection->inside) {
                        const double distance = std::fabs(projection->distance);
                        if (distance < kAcceptanceDistance && distance <= best) {
                            best = distance;
                            foot = projection->foot;
                        }
                    }
                    start = end;
                }
            }
        }
    }
    return foot;
}

}  // namespace

void MarkEditor::AutoMark() {
    PrepareSelectedMarks();
    IHostApplication* app = host::RequireApp();
    const ComPtr<IHostDatabase> database = host::Database(app);
    const ComPtr<IHostMapObjects> objects = host::MapObjectsOf(database.get());
    const std::u16string rail_layer = host::LayerIdOfStyle(database.get(), settings.RailLineStyle);

    const LONG count = host::SelectionCount(host::Selection(app).get());
    for (LONG i = 0; i < count; ++i) {
        const std::u16string id = host::SelectedId(host::Selection(app).get(), i);
        const ComPtr<IHostMapObject> object = host::ObjectById(objects.get(), id);
        const LONG shape_count = host::ShapeCount(host::Shapes(object.get()).get());
        for (LONG j = 0; j < shape_count; ++j) {
            const ComPtr<IHostShape> shape = host::ShapeAt(host::Shapes(object.get()).get(), j);
            if (host::StyleId(shape.get()) != settings.RailStyle) {
                continue;
            }
            const ComPtr<IHostContourPart> stroke = host::FirstPart(shape.get());
            const host::Vertex anchor = host::VertexAt(stroke.get(), 0);
            const double c1 = host::VertexAt(stroke.get(), 1).c;

            const ComPtr<IHostQueryCursor> cursor =
                host::QueryInRect(FreshMapObjects(app).get(), rail_layer,
                                  anchor.x - kSearchHalfWidth, anchor.y - kSearchHalfWidth,
                                  anchor.x + kSearchHalfWidth, anchor.y + kSearchHalfWidth);
            const std::optional<MapPoint> foot =
                FindRailProjection(app, cursor.get(), {anchor.x, anchor.y});
            if (!foot) {
                continue;
            }

            // The anchor moves onto the rail; the stroke points back to where it was.
            host::SetBaseline(stroke.get(), {foot->x, foot->y, c1}, {anchor.x, anchor.y, c1});
            const double dx = foot->x - anchor.x;
            const double dy = foot->y - anchor.y;

            for (LONG l = 0; l < shape_count; ++l) {
                const ComPtr<IHostShape> label = host::ShapeAt(host::Shapes(object.get()).get(), l);
                if (host::StyleId(label.get()) != settings.RailTextStyle) {
                    continue;
                }
                const ComPtr<IHostContourPart> baseline = host::FirstPart(label.get());
                const host::Vertex v0 = host::VertexAt(baseline.get(), 0);
                const host::Vertex v1 = host::VertexAt(baseline.get(), 1);
                host::SetBaseline(baseline.get(), {v0.x + dx, v0.y + dy, v0.c},
                                  {v1.x + dx, v1.y + dy, v1.c});
                break;
            }
            host::Commit(objects.get());
            break;
        }
    }
}

}  // namespace kavrel
