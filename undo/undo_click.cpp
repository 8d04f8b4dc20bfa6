#include "undo/undo_click.h"

#include <vector>

#include "base/number_text.h"
#include "gis/host_calls.h"
#include "undo/height_field.h"

namespace kavrel {
namespace {

// Part 0 of the shape of each written vertex, every vertex checked; empty
// when the object is no longer as the click left it.
bool CheckVertices(const ClickRecord& record, IHostMapObject* object, const ObjectChange& change,
                   std::vector<ComPtr<IHostContourPart>>& parts) {
    if (gis::ShapeCount(gis::Shapes(object).get()) != change.shape_count) {
        return false;
    }
    parts.reserve(change.vertex_count);
    LONG shape_index = -1;
    ComPtr<IHostContourPart> part;
    LONG vertex_count = 0;
    for (std::size_t k = 0; k < change.vertex_count; ++k) {
        const VertexChange& v = record.VertexAt(change.first_vertex + k);
        if (v.shape != shape_index) {
            const ComPtr<IHostShape> shape = gis::ShapeAt(gis::Shapes(object).get(), v.shape);
            if (gis::StyleId(shape.get()) != record.Style(v.style)) {
                return false;
            }
            part = gis::FirstPart(shape.get());
            vertex_count = gis::VertexCount(part.get());
            shape_index = v.shape;
        }
        if (v.vertex >= vertex_count) {
            return false;
        }
        const gis::Vertex now = gis::VertexAt(part.get(), v.vertex);
        // An undo that failed half-way may have written some back already.
        if (!SameBits(now, v.after) && !(change.restoring && SameBits(now, v.before))) {
            return false;
        }
        parts.push_back(part);
    }
    return true;
}

bool CheckHeight(const ClickRecord& record, IHostMapObject* object, const ObjectChange& change) {
    // The host may write the number with either decimal mark.
    const auto now = ParseNumberTextAnyMark(HeightFieldText(object, record.HeightField()));
    return now &&
           (*now == change.height_after || (change.restoring && *now == change.height_before));
}

// Writes the object back when it is still as the click left it; answers
// whether it did.
bool RestoreObject(ClickRecord& record, IHostMapObjects* objects, const ObjectChange& change) {
    const ComPtr<IHostMapObject> object = gis::ObjectById(objects, record.Id(change));
    std::vector<ComPtr<IHostContourPart>> parts;
    if (change.vertex_count > 0 && !CheckVertices(record, object.get(), change, parts)) {
        return false;
    }
    if (change.height && !CheckHeight(record, object.get(), change)) {
        return false;
    }
    record.Restoring();
    for (std::size_t k = 0; k < change.vertex_count; ++k) {
        const VertexChange& v = record.VertexAt(change.first_vertex + k);
        gis::SetVertex(parts[k].get(), v.vertex, v.before);
    }
    if (change.height) {
        WriteHeightField(object.get(), record.HeightField(), change.height_before);
    }
    if (change.vertex_count > 0) {
        gis::Commit(objects);
    }
    return true;
}

}  // namespace

UndoCounts UndoClick(ClickRecord& record, IHostApplication* app, IHostMapObjects* objects,
                     RedrawAfterUndo redraw) {
    const bool heights = record.HoldsHeights();
    const bool redrew = record.RedrewMap();
    while (record.HasPending()) {
        const ObjectChange& change = record.Pending();
        if (change.rebuilt) {
            // The host cannot give a shape inserted again its flag back.
            record.Done(&UndoCounts::rebuilt);
            continue;
        }
        const bool restored = RestoreObject(record, objects, change);
        record.Done(restored ? &UndoCounts::restored : &UndoCounts::changed);
    }
    if (heights) {
        // As the height steps commit: once for all.
        gis::Commit(objects);
    }
    // A click that redrew the map is taken back with a redraw too.
    if (redrew || redraw == RedrawAfterUndo::Always) {
        gis::RedrawMap(app);
    }
    return record.Counts();
}

}  // namespace kavrel
