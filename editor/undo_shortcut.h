// Ctrl+Z anywhere in the docked panel clicks its undo button. The panel is a
// child window in the host's message loop: a key goes to the focused control,
// not to the panel, so every window of the panel is given the shortcut.
#pragma once

#include <windows.h>

namespace kavrel {

// Subclasses the panel and every window inside it; the shortcut sends the
// button's click to the panel as the button itself would (a disabled button
// ignores it). Throws when a window cannot be subclassed.
void InstallUndoShortcut(HWND panel, HWND undo_button);

}  // namespace kavrel
