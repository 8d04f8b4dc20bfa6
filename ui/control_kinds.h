// What each kind of control is to a form: the events it raises, the
// notifications that raise them, and whether it is a combo box. Binding a
// handler, dispatching a notification and the combo-box rules of building,
// laying out and reading controls all ask this one table.
#pragma once

#include <windows.h>

#include "ui/form.h"

namespace ui {

// One notification of a control that raises one event of the form.
struct ControlNotification {
    Event event = Event::Click;
    UINT message = 0;  // WM_COMMAND or WM_NOTIFY; 0: no notification
    UINT code = 0;     // the notification code (HIWORD of wParam, or NMHDR::code)
    // A drop-down combo box still shows the old text while its selection
    // changes: the picked entry is put into its text before the handler runs.
    bool showsPickedEntry = false;
};

// Whether a control of the kind raises the event at all.
bool RaisesEvent(ControlKind kind, Event event) noexcept;

// The notification of the kind that arrives as `message` with `code`, or null
// when the form raises no event for it.
const ControlNotification* FindNotification(ControlKind kind, UINT message, UINT code) noexcept;

// A COMBOBOX window: its window is as tall as its open list.
bool IsComboBox(ControlKind kind) noexcept;

}  // namespace ui
