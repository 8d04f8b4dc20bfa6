// The mark editor panel, docked in the host's task panel "Отметки".
#pragma once

#include <optional>
#include <string>

#include "addon/com_ptr.h"
#include "addon/host_api.h"
#include "editor/mark_editor.h"
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

    void BindHandlers();
    // Rails mode is the check box's state at the moment of the click.
    kavrel::MarkEditor& MarksForClick();
    // The typed number of an edit, or nothing after telling the user.
    std::optional<double> ReadAngleStep(const char* edit);
    std::optional<double> ReadNumberStep(const char* edit);
    void sbHPlusClick(const char* sender);

    kavrel::PanelPreferences CollectPreferences() const;
    void ApplyPreferences(const kavrel::PanelPreferences& prefs);
};
