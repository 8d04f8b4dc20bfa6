// The mark editor panel, docked in the host's task panel "Отметки".
#pragma once

#include <optional>
#include <string>

#include "base/com_ptr.h"
#include "editor/mark_editor.h"
#include "editor/panel_buttons.h"
#include "editor/panel_preferences.h"
#include "gis/host_api.h"
#include "ui/form.h"

class TfKavrelEditor : public ui::Form {
  public:
    TfKavrelEditor();
    ~TfKavrelEditor() override;

    // The dock the panel lives in; released when the panel closes.
    kavrel::ComPtr<IHostTaskPanel> TaskPanel;
    // Whether closing releases TaskPanel at once.
    bool ReleasePanelOnClose = false;
    // The settings, MapObjects and the corrections.
    kavrel::MarkEditor Marks;

    // Closes the panel now, as the add-on does when it is torn down.
    void CloseNow() noexcept;

  protected:
    void OnCreate() override;
    ui::CloseAction OnClose() override;
    void OnDestroy() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void FormCreate();
    void FormDestroy();
    void Button1Click();
    void Button2Click();
    void WMReleasePanel();

    // Every button's click, as its row in the panel's table says.
    void BindHandlers();
    ui::Handler ClickOf(const kavrel::PanelButton& button);
    // Rails mode is the check box's state at the moment of the click.
    kavrel::MarkEditor& MarksForClick();
    // The typed number of an edit, or nothing after telling the user.
    std::optional<double> ReadAngleStep(const char* edit);
    std::optional<double> ReadNumberStep(const char* edit);
    void sbHPlusClick(const char* sender);
    void btnUndoClick();
    void btnPlaceLabelsClick();

    // A click that may write to the map: afterwards, failed or not, the undo
    // button shows whether there is something to take back.
    ui::Handler Undoable(ui::Handler click);
    void ShowUndoState();

    kavrel::PanelPreferences CollectPreferences() const;
    void ApplyPreferences(const kavrel::PanelPreferences& prefs);
};

namespace kavrel {

// The one editor panel, or null; the panel clears it when it is destroyed.
extern TfKavrelEditor* EditorPanel;

// Creates the editor panel as a child of the host task panel's window, sets
// EditorPanel and hands the panel its task panel.
void CreateEditorPanel(HWND parent, ComPtr<IHostTaskPanel> task_panel);

// The task panel the existing editor panel is docked in.
ComPtr<IHostTaskPanel> EditorTaskPanel(TfKavrelEditor& panel);

// Asks the panel to close: it saves its settings, is freed and clears EditorPanel.
void CloseEditorPanel(TfKavrelEditor& panel) noexcept;

}  // namespace kavrel
