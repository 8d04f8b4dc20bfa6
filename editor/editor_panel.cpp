// The add-on's hold on the one editor panel.
#include "addon/editor_hook.h"
#include "editor/kavrel_editor.h"

namespace kavrel {

void CreateEditorPanel(HWND parent, ComPtr<IHostTaskPanel> task_panel) {
    ui::FormPtr<TfKavrelEditor> form = ui::MakeForm<TfKavrelEditor>();
    form->CreateChild(parent);
    TfKavrelEditor* panel = ui::Form::OwnItself(std::move(form));
    panel->TaskPanel = std::move(task_panel);
    EditorPanel = panel;
}

ComPtr<IHostTaskPanel> EditorTaskPanel(TfKavrelEditor& panel) {
    return panel.TaskPanel;
}

void CloseEditorPanel(TfKavrelEditor& panel) noexcept {
    panel.CloseNow();
}

}  // namespace kavrel
