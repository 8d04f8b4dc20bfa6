#include "editor/mark_editor.h"

#include "base/errors.h"
#include "gis/style_calls.h"
#include "undo/undo_click.h"

namespace kavrel {
namespace {

// The offsets of a rebuilt mark: the label starts 0.2 north and 0.2 east of
// the anchor and runs 0.5 eastward; a rail stroke runs 0.2 northward.
constexpr double kLabelOffset = 0.2;
constexpr double kLabelLength = 0.5;
constexpr double kRailLength = 0.2;

}  // namespace

IHostMapObjects* MarkEditor::RequireMapObjects() {
    if (!MapObjects) {
        // The fetch at opening failed: ask the host again rather than leave
        // the panel unable to work until it is reopened.
        MapObjects = gis::MapObjectsOf(gis::Database(gis::RequireApp()).get());
    }
    return MapObjects.get();
}

void MarkEditor::PrepareSelectedMarks() {
    const std::u16string& anchor_style = rails ? settings.RailStyle : settings.PointStyle;
    const std::u16string& label_style = rails ? settings.RailTextStyle : settings.TextStyle;
    if (anchor_style.empty() || label_style.empty()) {
        throw AddonError(kNoMarkStylesMessage);
    }
    IHostApplication* app = gis::RequireApp();
    IHostMapObjects* objects = RequireMapObjects();
    // A refused click keeps the record of the last one; this one replaces it.
    record_.Restart();

    bool styles_known = false;
    VisitSelection(app, objects, [&](IHostMapObject* object) {
        bool anchor_seen = false;
        bool label_seen = false;
        const LONG shape_count = gis::ShapeCount(gis::Shapes(object).get());
        for (LONG j = 0; j < shape_count; ++j) {
            const ComPtr<IHostShape> shape = gis::ShapeAt(gis::Shapes(object).get(), j);
            const std::u16string style = gis::StyleId(shape.get());
            anchor_seen = anchor_seen || style == anchor_style;
            label_seen = label_seen || style == label_style;
        }
        if (anchor_seen && label_seen && gis::ShapeCount(gis::Shapes(object).get()) == 2) {
            return;
        }
        if (!styles_known) {
            // A rebuild clears the object's shapes before it adds the mark's:
            // with a style the map does not have, the object would be left
            // empty, and the next commit of any tool would save it so.
            RequireStylesInMap(app, {&anchor_style, &label_style});
            styles_known = true;
        }
        if (rails) {
            RebuildAsRailMark(object);
        } else {
            RebuildAsPlainMark(object);
        }
    });
}

void MarkEditor::RequireStylesInMap(IHostApplication* app,
                                    std::initializer_list<const std::u16string*> styles) {
    const ComPtr<IHostDatabase> database = gis::Database(app);
    for (const std::u16string* style : styles) {
        if (!gis::StyleExists(database.get(), *style)) {
            throw AddonError(u"Стиль отметки «" + *style +
                             u"» не найден в карте: задайте стили отметок в настройке.");
        }
    }
}

void MarkEditor::WriteVertex(IHostContourPart* part, const WrittenShape& shape, LONG index,
                             const gis::Vertex& before, const gis::Vertex& after) {
    gis::SetVertex(part, index, after);
    record_.Wrote(shape, index, before, after);
}

void MarkEditor::WriteBaseline(IHostContourPart* part, const WrittenShape& shape,
                               const gis::Vertex (&before)[2], const gis::Vertex (&after)[2]) {
    // A refused end leaves no start behind.
    gis::RequireFinite(after[0]);
    gis::RequireFinite(after[1]);
    WriteVertex(part, shape, 0, before[0], after[0]);
    WriteVertex(part, shape, 1, before[1], after[1]);
}

void MarkEditor::RebuildAsPlainMark(IHostMapObject* object) {
    Rebuild(object, false);
}

void MarkEditor::RebuildAsRailMark(IHostMapObject* object) {
    Rebuild(object, true);
}

void MarkEditor::Rebuild(IHostMapObject* object, bool as_rail) {
    IHostMapObjects* objects = RequireMapObjects();
    const LONG shape_count = gis::ShapeCount(gis::Shapes(object).get());
    if (shape_count == 0) {
        // Nothing tells where the mark stands: the object is left as it is.
        return;
    }

    // The position: vertex 0 of the first flagged shape, else of shape 0.
    ComPtr<IHostShape> source;
    for (LONG j = 0; j < shape_count && !source; ++j) {
        ComPtr<IHostShape> shape = gis::ShapeAt(gis::Shapes(object).get(), j);
        if (gis::Flag(shape.get())) {
            source = shape;
        }
    }
    if (!source) {
        source = gis::ShapeAt(gis::Shapes(object).get(), 0);
    }
    const gis::Vertex at = gis::VertexAt(gis::FirstPart(source.get()).get(), 0);
    const double x = at.x;
    const double y = at.y;
    source.reset();

    gis::ClearShapes(gis::Shapes(object).get());
    record_.Rebuilt();

    const std::u16string& anchor_style = as_rail ? settings.RailStyle : settings.PointStyle;
    const ComPtr<IHostShape> anchor = gis::AppendShape(gis::Shapes(object).get(), anchor_style);
    const ComPtr<IHostContourPart> anchor_part = gis::AppendPart(gis::Contour(anchor.get()).get());
    gis::AppendVertex(anchor_part.get(), {x, y, 0.0});
    if (as_rail) {
        gis::AppendVertex(anchor_part.get(), {x + kRailLength, y, 0.0});
    }

    const std::u16string& label_style = as_rail ? settings.RailTextStyle : settings.TextStyle;
    const ComPtr<IHostShape> label = gis::AppendShape(gis::Shapes(object).get(), label_style);
    const ComPtr<IHostContourPart> label_part = gis::AppendPart(gis::Contour(label.get()).get());
    gis::AppendVertex(label_part.get(), {x + kLabelOffset, y + kLabelOffset, 0.0});
    gis::AppendVertex(label_part.get(), {x + kLabelOffset, y + kLabelOffset + kLabelLength, 0.0});

    gis::Commit(objects);
}

UndoCounts MarkEditor::UndoLastClick() {
    IHostApplication* app = gis::RequireApp();
    return UndoClick(record_, app, RequireMapObjects());
}

}  // namespace kavrel
