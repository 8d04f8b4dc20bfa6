#include "import/import_dialog.h"

#include <windows.h>

#include "base/decimal_separator.h"
#include "base/errors.h"
#include "base/number_text.h"
#include "base/short_string.h"
#include "frame/custom_addon.h"
#include "gis/host_calls.h"
#include "gis/sdk_records.h"
#include "import/import_dialog_layout.h"
#include "import/import_geometry.h"
#include "import/import_result_window.h"
#include "ui/message_box.h"
#include "undo/undo_click.h"
#include "undo/undo_message.h"

namespace kavrel {
namespace {

constexpr char16_t kBadNumberMessage[] = u"Неверный ввод числа ";
constexpr char16_t kNoRowsMessage[] = u"В тексте нет строк для импорта.";
constexpr char16_t kDefaultTolerance[] = u"0,05";
// The progress bar is repainted at least this often while the import runs.
constexpr unsigned long long kRepaintMilliseconds = 50;

// The columns picked by default: a catalogue "номер X Y H".
struct ColumnList {
    const char* combo;
    int default_index;
};
constexpr ColumnList kColumnLists[] = {
    {"cbNColumn", 0}, {"cbXColumn", 1}, {"cbYColumn", 2}, {"cbZColumn", 3}};

// The controls whose use depends on the import method.
struct MethodControls {
    bool textStyle;
    bool vectorLength;
    bool zoomScale;
    bool verticalDelta;
    bool horizontalDelta;
};

MethodControls ControlsFor(int method) {
    switch (static_cast<ImportMethod>(method)) {
        case ImportMethod::Points:
            return {false, false, false, false, false};
        case ImportMethod::PointsAndLabels:
            return {true, true, true, true, true};
        case ImportMethod::Vector:
            return {false, true, true, false, false};
    }
    // No method picked: everything stays usable.
    return {true, true, true, true, true};
}

std::u16string Digits(std::size_t n) {
    const std::string text = std::to_string(n);
    return std::u16string(text.begin(), text.end());
}

}  // namespace

TMainForm::TMainForm() : TM2AddonForm(ImportDialogLayout()) {
    Bind("cbMetod", ui::Event::Change, [this] { cbMetodChange(); });
    Bind("cbLayer", ui::Event::Change, [this] { cbLayerChange(); });
    Bind("mData", ui::Event::Change, [this] { mDataChange(); });
    Bind("cbNoFirstLine", ui::Event::Click, [this] { mDataChange(); });
    Bind("Button2", ui::Event::Click, [this] { Button2Click(); });
    Bind("btnUndoImport", ui::Event::Click, [this] { btnUndoImportClick(); });
}

// Out of line: the result window's type is complete here.
TMainForm::~TMainForm() = default;

void TMainForm::OnCreate() {
    // The first method is shown; its enabling waits for the user's pick.
    SetComboIndex("cbMetod", 0);
    SetText("leTolerance", kDefaultTolerance);
    // A catalogue of 100,000 rows is longer than an edit holds by default.
    SendMessageW(Control("mData"), EM_SETLIMITTEXT, 0, 0);
    SetEnabled("btnUndoImport", false);
    if (HostConnected()) {
        FillLayerList();
        PreselectStoredSettings();
    }
}

bool TMainForm::HostConnected() const noexcept {
    return Addon && Addon->Connected;
}

void TMainForm::cbMetodChange() {
    const MethodControls on = ControlsFor(ComboIndex("cbMetod"));
    SetEnabled("cbTExtStyle", on.textStyle);
    SetEnabled("leVectorLength", on.vectorLength);
    SetEnabled("leForZoomScale", on.zoomScale);
    SetEnabled("leVDelta", on.verticalDelta);
    SetEnabled("leHDelta", on.horizontalDelta);
}

// --- the lists ------------------------------------------------------------------

void TMainForm::FillLayerList() {
    layers_ = ProjectLayers(*Addon);
    for (const ProjectLayer& layer : layers_) {
        ComboAdd("cbLayer", layer.caption);
    }
}

void TMainForm::cbLayerChange() {
    ShowLayer(ComboIndex("cbLayer"));
}

void TMainForm::ShowLayer(int index) {
    for (const char* combo : {"cbPointStyle", "cbTExtStyle", "cbNumField", "cbZField"}) {
        ComboClear(combo);
    }
    styles_.clear();
    if (index < 0 || static_cast<std::size_t>(index) >= layers_.size() || !HostConnected()) {
        return;
    }
    styles_ = LayerStyles(*Addon, layers_[index].id);
    for (const LayerStyle& style : styles_) {
        ComboAdd("cbPointStyle", style.name);
        ComboAdd("cbTExtStyle", style.name);
    }
    for (const std::u16string& field : LayerFields(gis::RequireApp(), styles_)) {
        ComboAdd("cbNumField", field);
        ComboAdd("cbZField", field);
    }
}

// The layer of the panel's point style, that style, its label style and
// height field, where they are among the lists.
void TMainForm::PreselectStoredSettings() {
    IHostApplication* app = gis::RequireApp();
    const StoredMarkSettings stored = ReadStoredMarkSettings(app);
    const std::u16string layer = LayerOfStyle(app, stored.point_style);
    if (layer.empty()) {
        return;
    }
    for (std::size_t i = 0; i < layers_.size(); ++i) {
        if (ReadShortStringWide(layers_[i].id) == layer) {
            SetComboIndex("cbLayer", static_cast<int>(i));
            ShowLayer(static_cast<int>(i));
            break;
        }
    }
    for (std::size_t s = 0; s < styles_.size(); ++s) {
        if (styles_[s].id == stored.point_style) {
            SetComboIndex("cbPointStyle", static_cast<int>(s));
        }
        if (styles_[s].id == stored.label_style) {
            SetComboIndex("cbTExtStyle", static_cast<int>(s));
        }
    }
    for (int f = 0; f < ComboCount("cbZField"); ++f) {
        if (ComboItem("cbZField", f) == stored.height_field) {
            SetComboIndex("cbZField", f);
        }
    }
}

void TMainForm::mDataChange() {
    RefreshColumnLists(Text("mData"));
}

// "1" to "K", K the most columns among the first data rows; a pick that
// still exists stays, the others go back to their defaults.
void TMainForm::RefreshColumnLists(std::u16string_view text) {
    const std::size_t columns = MostColumns(text, Checked("cbNoFirstLine"));
    for (const ColumnList& list : kColumnLists) {
        const int picked = ComboIndex(list.combo);
        if (static_cast<std::size_t>(ComboCount(list.combo)) == columns) {
            if (picked < 0 && static_cast<std::size_t>(list.default_index) < columns) {
                SetComboIndex(list.combo, list.default_index);
            }
            continue;
        }
        ComboClear(list.combo);
        for (std::size_t k = 1; k <= columns; ++k) {
            ComboAdd(list.combo, Digits(k));
        }
        if (picked >= 0 && static_cast<std::size_t>(picked) < columns) {
            SetComboIndex(list.combo, picked);
        } else if (static_cast<std::size_t>(list.default_index) < columns) {
            SetComboIndex(list.combo, list.default_index);
        }
    }
}

// --- the import -----------------------------------------------------------------

std::optional<double> TMainForm::ReadNumberEdit(const char* edit, bool positive) {
    const std::u16string text = Text(edit);
    const auto value = ParseNumberText(text, LibraryDecimalSeparator());
    if (!value || (positive ? *value <= 0.0 : *value < 0.0)) {
        ui::ShowMessage(Handle(), kBadNumberMessage + text, 0);
        return std::nullopt;
    }
    return value;
}

std::optional<ImportSettings> TMainForm::ReadImportSettings(std::u16string_view text) {
    const auto refuse = [this](const char16_t* text) {
        ui::ShowMessage(Handle(), text, 0);
        return std::nullopt;
    };
    ImportSettings s;
    const int method = ComboIndex("cbMetod");
    s.method = static_cast<ImportMethod>(method < 0 ? 0 : method);
    const int point = ComboIndex("cbPointStyle");
    const int label = ComboIndex("cbTExtStyle");
    if (ComboIndex("cbLayer") < 0) {
        return refuse(u"Выберите слой отметок.");
    }
    if (point < 0) {
        return refuse(u"Выберите стиль точек.");
    }
    if (s.method == ImportMethod::PointsAndLabels && label < 0) {
        return refuse(u"Выберите стиль подписей.");
    }
    if (ComboIndex("cbZField") < 0) {
        return refuse(u"Выберите поле высоты.");
    }
    s.first_is_header = Checked("cbNoFirstLine");
    if (!HasDataLine(text, s.first_is_header)) {
        return refuse(kNoRowsMessage);
    }
    s.columns.x = ComboIndex("cbXColumn");
    s.columns.y = ComboIndex("cbYColumn");
    s.columns.z = ComboIndex("cbZColumn");
    if (s.columns.x < 0 || s.columns.y < 0 || s.columns.z < 0) {
        return refuse(u"Выберите столбцы X, Y и высоты.");
    }
    // Numbers are compared when both a column and a field are picked.
    if (ComboIndex("cbNColumn") >= 0 && ComboIndex("cbNumField") >= 0) {
        s.columns.number = ComboIndex("cbNColumn");
        s.number_field = ComboItem("cbNumField", ComboIndex("cbNumField"));
    }
    s.point_style = styles_.at(point).id;
    if (label >= 0) {
        s.label_style = styles_.at(label).id;
    }
    s.height_field = ComboItem("cbZField", ComboIndex("cbZField"));

    const auto tolerance = ReadNumberEdit("leTolerance", false);
    if (!tolerance) {
        return std::nullopt;
    }
    s.tolerance = *tolerance;
    if (s.method == ImportMethod::PointsAndLabels) {
        const auto scale = ReadNumberEdit("leForZoomScale", true);
        const auto north = scale ? ReadNumberEdit("leVDelta", false) : std::nullopt;
        const auto east = north ? ReadNumberEdit("leHDelta", false) : std::nullopt;
        if (!east) {
            return std::nullopt;
        }
        s.label_north = MapUnitsOf(*north, *scale);
        s.label_east = MapUnitsOf(*east, *scale);
    } else if (s.method == ImportMethod::Vector) {
        const auto length = ReadNumberEdit("leVectorLength", true);
        const auto scale = length ? ReadNumberEdit("leForZoomScale", true) : std::nullopt;
        if (!scale) {
            return std::nullopt;
        }
        s.vector_length = MapUnitsOf(*length, *scale);
    }
    return s;
}

void TMainForm::Button2Click() {
    if (!HostConnected()) {
        ui::ShowMessage(Handle(), gis::kNotConnectedMessage, 0);
        return;
    }
    // A catalogue of 100,000 rows is read from the edit once.
    std::u16string text = Text("mData");
    // A text a program set without a change notification has its columns too.
    RefreshColumnLists(text);
    if (const std::optional<ImportSettings> settings = ReadImportSettings(text)) {
        RunImport(*settings, std::move(text));
    }
}

void TMainForm::RunImport(const ImportSettings& settings, std::u16string text) {
    IHostApplication* app = gis::RequireApp();
    SurveyImport import(settings, std::move(text));
    const auto progress = [this](std::size_t done, std::size_t total) {
        ShowProgress(done, total);
    };
    SetRunning(true);
    struct EnableAgain {
        TMainForm& form;
        ~EnableAgain() {
            try {
                form.SetRunning(false);
            } catch (...) {
                // The dialog went while the question was up: nothing to enable.
            }
        }
    } enable_again{*this};

    try {
        import.Match(app, progress);
    } catch (...) {
        ui::ShowCurrentException(Handle());
        ShowResult(
            ResultText(MatchingStoppedSummary(import.LineInHand(), CurrentExceptionMessage()),
                       import.Notes()));
        return;
    }
    const ImportCounts counts = import.Counts();
    if (counts.to_change == 0) {
        ui::ShowMessage(Handle(), NothingToChangeText(counts));
        ShowResult(ResultText(NothingToChangeSummary(counts), import.Notes()));
        return;
    }
    // The host keeps running while the question is up: the dialog may be
    // gone, or the add-on disconnected, when it is answered.
    if (!ui::AskYesNo(Handle(), ConfirmationText(counts)) || !Handle() || !HostConnected()) {
        return;
    }
    try {
        import.Write(app, record_, progress);
    } catch (...) {
        ui::ShowCurrentException(Handle());
        ShowResult(ResultText(WritingStoppedSummary(import.LineInHand(), CurrentExceptionMessage(),
                                                    import.Counts().changed),
                              import.Notes()));
        return;
    }
    ShowResult(ResultText(DoneSummary(import.Counts()), import.Notes()));
}

// While the import runs, nothing of the dialog takes input; afterwards each
// control is as it was.
void TMainForm::SetRunning(bool running) {
    if (!Handle()) {
        return;
    }
    if (running) {
        enabled_before_run_.clear();
        for (const ui::ControlLayout& control : Layout().controls) {
            if (control.kind == ui::ControlKind::ProgressBar) {
                continue;
            }
            enabled_before_run_.emplace_back(control.name, Enabled(control.name));
            SetEnabled(control.name, false);
        }
        last_repaint_ = 0;
        SetProgress("ProgressBar1", 0);
        return;
    }
    for (const auto& [name, enabled] : enabled_before_run_) {
        SetEnabled(name, enabled);
    }
    enabled_before_run_.clear();
    ShowUndoState();
}

void TMainForm::ShowProgress(std::size_t done, std::size_t total) {
    const unsigned long long now = GetTickCount64();
    if (done != total && now - last_repaint_ < kRepaintMilliseconds) {
        return;
    }
    last_repaint_ = now;
    SetProgress("ProgressBar1", static_cast<int>(done), static_cast<int>(total));
    // The import runs inside the click: no message loop repaints meanwhile.
    UpdateWindow(Control("ProgressBar1"));
}

void TMainForm::ShowResult(const std::u16string& text) {
    // The dialog may have gone while a message box was up: its result goes too.
    if (!Handle()) {
        return;
    }
    if (!result_) {
        result_ = ui::MakeForm<TfImportResult>();
    }
    result_->ShowResult(Handle(), text);
}

void TMainForm::ShowUndoState() {
    SetEnabled("btnUndoImport", enabled_before_run_.empty() && record_.HasPending());
}

void TMainForm::btnUndoImportClick() {
    struct ShowStateAfter {
        TMainForm& form;
        ~ShowStateAfter() {
            try {
                form.ShowUndoState();
            } catch (...) {
                // The dialog is gone.
            }
        }
    } show_state_after{*this};
    if (!HostConnected()) {
        ui::ShowMessage(Handle(), gis::kNotConnectedMessage, 0);
        return;
    }
    IHostApplication* app = gis::RequireApp();
    const ComPtr<IHostMapObjects> objects = gis::MapObjectsOf(gis::Database(app).get());
    const UndoCounts counts = UndoClick(record_, app, objects.get(), RedrawAfterUndo::Always);
    if (counts.changed > 0 || counts.rebuilt > 0) {
        ui::ShowMessage(Handle(),
                        UndoMessage(counts.restored, counts.changed, counts.rebuilt, u"импорта"));
    }
}

ui::CloseAction TMainForm::OnClose() {
    return FormClose();
}

// Closing destroys the dialog; what was typed into it is gone.
ui::CloseAction TMainForm::FormClose() {
    return ui::CloseAction::Free;
}

void OpenImportDialog() {
    // From the first import on, number texts use the decimal comma everywhere.
    UseDecimalComma();
    ui::FormPtr<TMainForm> form = ui::MakeForm<TMainForm>();
    form->Show();
    ui::Form::OwnItself(std::move(form));
}

}  // namespace kavrel
