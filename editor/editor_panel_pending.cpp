// Placeholder until the mark editor panel exists: command 2 does the host's
// task panel steps and then creates no panel, so EditorPanel stays null.
#include "addon/editor_hook.h"

namespace kavrel {

void CreateEditorPanel(HWND, ComPtr<IHostTaskPanel>) {}

ComPtr<IHostTaskPanel> EditorTaskPanel(TfKavrelEditor&) {
    return {};
}

void CloseEditorPanel(TfKavrelEditor&) noexcept {}

}  // namespace kavrel
