// The import dialog "Импорт высотных отметок": a survey catalogue pasted as
// text (number, X, Y, height) updates the elevation marks already on the map.
// Each row finds its mark by position (and number), the heights and, by the
// method, the labels or vectors of the marks found are written after the user
// confirms, and a result window lists every row that could not be used.
// "Отменить импорт" takes the dialog's last import back.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "frame/dll_form.h"
#include "import/import_lists.h"
#include "import/survey_import.h"
#include "undo/click_record.h"

class TfImportResult;

namespace kavrel {

class TMainForm final : public TM2AddonForm {
  public:
    TMainForm();
    ~TMainForm() override;

    // Enables the controls the picked method uses.
    void cbMetodChange();
    // Lists the styles and fields of the picked layer.
    void cbLayerChange();
    // The column lists follow the text.
    void mDataChange();
    // "Импорт".
    void Button2Click();
    // "Отменить импорт".
    void btnUndoImportClick();

  protected:
    void OnCreate() override;
    ui::CloseAction OnClose() override;

  private:
    ui::CloseAction FormClose();
    bool HostConnected() const noexcept;
    void FillLayerList();
    void ShowLayer(int index);
    void PreselectStoredSettings();
    void RefreshColumnLists(std::u16string_view text);

    // The import's parameters for the text, or nothing after telling the
    // user what is missing or which number is wrong.
    std::optional<ImportSettings> ReadImportSettings(std::u16string_view text);
    std::optional<double> ReadNumberEdit(const char* edit, bool positive);
    void RunImport(const ImportSettings& settings, std::u16string text);
    void SetRunning(bool running);
    void ShowProgress(std::size_t done, std::size_t total);
    void ShowResult(const std::u16string& text);
    void ShowUndoState();

    std::vector<ProjectLayer> layers_;
    std::vector<LayerStyle> styles_;  // of the picked layer, in list order
    ClickRecord record_;              // what the last import wrote
    ui::FormPtr<TfImportResult> result_;
    std::vector<std::pair<std::string, bool>> enabled_before_run_;
    unsigned long long last_repaint_ = 0;
};

// Command 1: opens a further, independent import dialog owned by the host's
// main window on every run.
void OpenImportDialog();

}  // namespace kavrel
