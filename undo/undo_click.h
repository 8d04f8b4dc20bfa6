// Taking back what a record holds: every object the last click wrote gets its
// state before the click back, written through the same host operations,
// where its state is still what the click left.
#pragma once

#include "gis/host_api.h"
#include "undo/click_record.h"

namespace kavrel {

enum class RedrawAfterUndo {
    IfHeights,  // as the height steps: a redraw when heights were written back
    Always,     // as the import, which redraws the map after every run
};

// Restores the pending objects of the record in order, each checked whole
// before any of it is written: an object changed since (another shape count,
// another style at a written shape, any written vertex or the height not as
// the click left it) or rebuilt by the click is left alone and counted.
// An object with vertices is committed on its own; heights alone are
// committed once at the end. A host failure ends the undo with the host's
// text; the objects not yet done stay pending for the next one. Answers the
// counts of the whole undo once it is done.
UndoCounts UndoClick(ClickRecord& record, IHostApplication* app, IHostMapObjects* objects,
                     RedrawAfterUndo redraw = RedrawAfterUndo::IfHeights);

}  // namespace kavrel
