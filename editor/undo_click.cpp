// "Отменить": every object the last click wrote gets its state before the
// click back, written through the host operations the corrections use, where
// its state is still what the click left.
#include <bit>
#include <cstdint>
#include <vector>

#include "base/decimal_separator.h"
#include "base/number_text.h"
#include "editor/mark_editor.h"

namespace kavrel {
namespace {

// The same stored number, to the bit: what the click wrote is what the host
// hands back while nobody changed it.
bool Same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool Same(const gis::Vertex& a, const gis::Vertex& b) {
    return Same(a.x, b.x) && Same(a.y, b.y) && Same(a.c, b.c);
}

}  // namespace

UndoCounts MarkEditor::UndoLastClick() {
    IHostApplication* app = gis::RequireApp();
    IHostMapObjects* objects = RequireMapObjects();
    const bool heights = record_.HoldsHeights();
    const bool redraw = record_.RedrewMap();
    while (record_.HasPending()) {
        const ObjectChange& change = record_.Pending();
        if (change.kind == ChangeKind::Rebuilt) {
            // The host cannot give a shape inserted again its flag back.
            record_.Done(&UndoCounts::rebuilt);
            continue;
        }
        const bool restored = change.kind == ChangeKind::Height ? RestoreHeight(objects, change)
                                                                : RestoreGeometry(objects, change);
        record_.Done(restored ? &UndoCounts::restored : &UndoCounts::changed);
    }
    if (heights) {
        // As the height steps commit: once for all.
        gis::Commit(objects);
    }
    if (redraw) {
        gis::RedrawMap(app);
    }
    return record_.Counts();
}

bool MarkEditor::RestoreGeometry(IHostMapObjects* objects, const ObjectChange& change) {
    const ComPtr<IHostMapObject> object = gis::ObjectById(objects, record_.Id(change));
    if (gis::ShapeCount(gis::Shapes(object.get()).get()) != change.shape_count) {
        return false;
    }
    // Part 0 of the shape of each written vertex, every vertex checked before
    // anything is written.
    std::vector<ComPtr<IHostContourPart>> parts;
    parts.reserve(change.vertex_count);
    LONG shape_index = -1;
    ComPtr<IHostContourPart> part;
    LONG vertex_count = 0;
    for (std::size_t k = 0; k < change.vertex_count; ++k) {
        const VertexChange& v = record_.VertexAt(change.first_vertex + k);
        if (v.shape != shape_index) {
            const ComPtr<IHostShape> shape = gis::ShapeAt(gis::Shapes(object.get()).get(), v.shape);
            if (gis::StyleId(shape.get()) != record_.Style(v.style)) {
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
        if (!Same(now, v.after) && !(change.restoring && Same(now, v.before))) {
            return false;
        }
        parts.push_back(part);
    }
    record_.Restoring();
    for (std::size_t k = 0; k < change.vertex_count; ++k) {
        const VertexChange& v = record_.VertexAt(change.first_vertex + k);
        gis::SetVertex(parts[k].get(), v.vertex, v.before);
    }
    gis::Commit(objects);
    return true;
}

bool MarkEditor::RestoreHeight(IHostMapObjects* objects, const ObjectChange& change) {
    const ComPtr<IHostMapObject> object = gis::ObjectById(objects, record_.Id(change));
    const std::u16string& field = record_.HeightField();
    const auto now = ParseNumberText(HeightText(object.get(), field), LibraryDecimalSeparator());
    if (!now || *now != change.height_after) {
        return false;
    }
    WriteHeightField(object.get(), field, change.height_before);
    return true;
}

}  // namespace kavrel
