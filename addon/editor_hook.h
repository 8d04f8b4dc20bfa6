// What the add-on object asks of the mark editor panel. The editor implements
// these; the add-on knows the panel only through EditorPanel.
#pragma once

#include <windows.h>

#include "addon/com_ptr.h"
#include "addon/host_api.h"
#include "addon/library_refs.h"

namespace kavrel {

// Creates the editor panel as a child of the host task panel's window, sets
// EditorPanel and hands the panel its task panel.
void CreateEditorPanel(HWND parent, ComPtr<IHostTaskPanel> task_panel);

// The task panel the existing editor panel is docked in.
ComPtr<IHostTaskPanel> EditorTaskPanel(TfKavrelEditor& panel);

// Asks the panel to close: it saves its settings, is freed and clears EditorPanel.
void CloseEditorPanel(TfKavrelEditor& panel) noexcept;

}  // namespace kavrel
