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
// An anchor this close to its rail is on it already: snapping it again would
// pull the stroke's far end onto the anchor and lose its length and direction.
constexpr double kOnRailDistance = 1e-9;

// The foot of the perpendicular on the chosen rail segment, and how far the
// anchor is from it.
struct RailFoot {
    MapPoint foot;
    double distance;
};

ComPtr<IHostMapObjects> FreshMapObjects(IHostApplication* app) {
    return gis::MapObjectsOf(gis::Database(app).get());
}

// The foot of the perpendicular from p on the nearest accepted rail segment
// among the query's objects (among equally near ones, the last met).
std::optional<RailFoot> FindRailProjection(IHostApplication* app, IHostQueryCursor* cursor,
                                           MapPoint p) {
    double best = kNoDistanceYet;
    std::optional<RailFoot> foot;
    while (!gis::CursorAtEnd(cursor)) {
        const std::u16string id = gis::FetchNextId(cursor);
        const ComPtr<IHostMapObject> rail = gis::ObjectById(FreshMapObjects(app).get(), id);
        const ComPtr<IHostShapes> shapes = gis::Shapes(rail.get());
        const LONG shape_count = gis::ShapeCount(shapes.get());
        for (LONG j = 0; j < shape_count; ++j) {
            const ComPtr<IHostContour> contour = gis::Contour(gis::ShapeAt(shapes.get(), j).get());
            const LONG part_count = gis::PartCount(contour.get());
            for (LONG k = 0; k < part_count; ++k) {
                const ComPtr<IHostContourPart> part = gis::PartAt(contour.get(), k);
                const LONG vertex_count = gis::VertexCount(part.get());
                if (vertex_count < 2) {
                    continue;
                }
                gis::Vertex start = gis::VertexAt(part.get(), 0);
                for (LONG v = 1; v < vertex_count; ++v) {
                    const gis::Vertex end = gis::VertexAt(part.get(), v);
                    const auto projection =
                        ProjectPointOnSegment({start.x, start.y}, {end.x, end.y}, p);
                    if (projection && projection->inside) {
                        const double distance = std::fabs(projection->distance);
                        if (distance < kAcceptanceDistance && distance <= best) {
                            best = distance;
                            foot = RailFoot{projection->foot, distance};
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
    IHostApplication* app = gis::RequireApp();
    const ComPtr<IHostDatabase> database = gis::Database(app);
    const ComPtr<IHostMapObjects> objects = gis::MapObjectsOf(database.get());
    const std::u16string rail_layer = gis::LayerIdOfStyle(database.get(), settings.RailLineStyle);

    VisitSelection(app, objects.get(), [&](IHostMapObject* object) {
        const LONG shape_count = gis::ShapeCount(gis::Shapes(object).get());
        for (LONG j = 0; j < shape_count; ++j) {
            const ComPtr<IHostShape> shape = gis::ShapeAt(gis::Shapes(object).get(), j);
            if (gis::StyleId(shape.get()) != settings.RailStyle) {
                continue;
            }
            const ComPtr<IHostContourPart> stroke = gis::FirstPart(shape.get());
            const gis::Vertex anchor = gis::VertexAt(stroke.get(), 0);
            const gis::Vertex end = gis::VertexAt(stroke.get(), 1);
            const double c1 = end.c;

            const ComPtr<IHostQueryCursor> cursor =
                gis::QueryInRect(FreshMapObjects(app).get(), rail_layer,
                                 anchor.x - kSearchHalfWidth, anchor.y - kSearchHalfWidth,
                                 anchor.x + kSearchHalfWidth, anchor.y + kSearchHalfWidth);
            const std::optional<RailFoot> rail =
                FindRailProjection(app, cursor.get(), {anchor.x, anchor.y});
            if (!rail) {
                continue;
            }
            if (rail->distance < kOnRailDistance) {
                break;  // snapped before: the stroke stays as it is
            }

            // The anchor moves onto the rail; the stroke points back to where it was.
            const MapPoint foot = rail->foot;
            WriteBaseline(stroke.get(), {j, shape_count, settings.RailStyle}, {anchor, end},
                          {{foot.x, foot.y, c1}, {anchor.x, anchor.y, c1}});
            const double dx = foot.x - anchor.x;
            const double dy = foot.y - anchor.y;

            for (LONG l = 0; l < shape_count; ++l) {
                const ComPtr<IHostShape> label = gis::ShapeAt(gis::Shapes(object).get(), l);
                if (gis::StyleId(label.get()) != settings.RailTextStyle) {
                    continue;
                }
                const ComPtr<IHostContourPart> baseline = gis::FirstPart(label.get());
                const gis::Vertex v0 = gis::VertexAt(baseline.get(), 0);
                const gis::Vertex v1 = gis::VertexAt(baseline.get(), 1);
                WriteBaseline(baseline.get(), {l, shape_count, settings.RailTextStyle}, {v0, v1},
                              {{v0.x + dx, v0.y + dy, v0.c}, {v1.x + dx, v1.y + dy, v1.c}});
                break;
            }
            gis::Commit(objects.get());
            break;
        }
    });
}

}  // namespace kavrel
