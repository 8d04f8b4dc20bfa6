#include "editor/editor_panel.h"

#include <exception>
#include <optional>
#include <string>

#include "base/decimal_separator.h"
#include "base/errors.h"
#include "base/number_text.h"
#include "editor/button_pictures.h"
#include "editor/editor_panel_layout.h"
#include "editor/panel_preferences.h"
#include "editor/undo_message.h"
#include "editor/undo_shortcut.h"
#include "frame/library_refs.h"
#include "gis/host_calls.h"
#include "settings/settings_dialog.h"
#include "ui/message_box.h"

using kavrel::ComPtr;

namespace {

constexpr char16_t kBadAngleMessage[] = u"Неправильный ввод угла!";
constexpr char16_t kNoFreePlaceMessage[] = u"Подписей без свободного места: ";

struct Preset {
    const char* name;
    double degrees;
};
constexpr Preset kPresets[] = {{"sb90", 90},   {"sb70", 70},   {"sb45", 45},
                               {"sb20", 20},   {"sb0", 0},     {"sbm20", -20},
                               {"sbm45", -45}, {"sbm70", -70}, {"sbm90", -90}};

// The label moves: the change of x (north) and y (east) per unit of step.
struct Move {
    const char* name;
    int dx;
    int dy;
};
constexpr Move kMoves[] = {{"sbMoveUL", 1, -1}, {"sbMoveU", 1, 0},  {"sbMoveUR", 1, 1},
                           {"sbMoveL", 0, -1},  {"sbMoveR", 0, 1},  {"sbMoveDL", -1, -1},
                           {"sbMoveD", -1, 0},  {"sbMoveDR", -1, 1}};

// The turn buttons, each pictured turning the way it turns: the labels'
// "up" button anticlockwise, the rail strokes' "up" button clockwise.
struct TurnButton {
    const char* name;
    kavrel::Turn turn;
    bool head_at_top;
};
constexpr TurnButton kTurnButtons[] = {{"sbRotUp", kavrel::Turn::Anticlockwise, true},
                                       {"sbRotDn", kavrel::Turn::Clockwise, false},
                                       {"sbRRotUp", kavrel::Turn::Clockwise, true},
                                       {"sbRRotDn", kavrel::Turn::Anticlockwise, false}};

constexpr const char* kHeightStepButtons[] = {
    "sbHPlus",       "SpeedButton2",  "SpeedButton3",  "SpeedButton4",
    "SpeedButton5",  "SpeedButton6",  "SpeedButton7",  "SpeedButton8",
    "SpeedButton9",  "SpeedButton10", "SpeedButton11", "SpeedButton12",
    "SpeedButton13", "SpeedButton14", "SpeedButton15", "SpeedButton16"};

// The layout with the pictures of its image buttons.
ui::FormLayout WithPictures(ui::FormLayout layout) {
    for (ui::ControlLayout& control : layout.controls) {
        for (const Preset& p : kPresets) {
            if (control.name == p.name) {
                const double degrees = p.degrees;
                control.painter = [degrees](HDC dc, const RECT& area, bool, bool) {
                    kavrel::PaintPresetPicture(dc, area, degrees);
                };
            }
        }
        for (const Move& m : kMoves) {
            if (control.name == m.name) {
                const int dx = m.dx;
                const int dy = m.dy;
                // A move's dx is northward (up), dy eastward (right).
                control.painter = [dx, dy](HDC dc, const RECT& area, bool, bool) {
                    kavrel::PaintMoveArrow(dc, area, dy, dx);
                };
            }
        }
        for (const TurnButton& t : kTurnButtons) {
            if (control.name == t.name) {
                const kavrel::Turn turn = t.turn;
                const bool head_at_top = t.head_at_top;
                control.painter = [turn, head_at_top](HDC dc, const RECT& area, bool, bool) {
                    kavrel::PaintTurnArrow(dc, area, turn, head_at_top);
                };
            }
        }
        if (control.name == "btnPlaceLabels") {
            control.painter = [](HDC dc, const RECT& area, bool, bool) {
                kavrel::PaintPlaceLabelsPicture(dc, area);
            };
        }
    }
    return layout;
}

}  // namespace

TfKavrelEditor::TfKavrelEditor() : ui::Form(WithPictures(kavrel::KavrelEditorLayout())) {
    BindHandlers();
}

TfKavrelEditor::~TfKavrelEditor() {
    // Whatever happened while the window went, the add-on never keeps a
    // pointer to a panel that is gone.
    if (kavrel::EditorPanel == this) {
        kavrel::EditorPanel = nullptr;
    }
}

void TfKavrelEditor::BindHandlers() {
    const auto correction = [this](const char* control, ui::Handler click) {
        Bind(control, ui::Event::Click, Undoable(std::move(click)));
    };
    for (const Preset& p : kPresets) {
        const double degrees = p.degrees;
        correction(p.name, [this, degrees] { MarksForClick().SetLabelAngle(degrees); });
    }
    correction("sbRotUp", [this] {
        if (const auto s = ReadAngleStep("eRotAngle")) {
            MarksForClick().RotateLabels(-*s);
        }
    });
    correction("sbRotDn", [this] {
        if (const auto s = ReadAngleStep("eRotAngle")) {
            MarksForClick().RotateLabels(*s);
        }
    });
    correction("sbRRotUp", [this] {
        if (const auto s = ReadAngleStep("eRRotAngle")) {
            MarksForClick().RotateRailShapes(*s);
        }
    });
    correction("sbRRotDn", [this] {
        if (const auto s = ReadAngleStep("eRRotAngle")) {
            MarksForClick().RotateRailShapes(-*s);
        }
    });
    for (const Move& m : kMoves) {
        const int dx = m.dx;
        const int dy = m.dy;
        correction(m.name, [this, dx, dy] {
            if (const auto v = ReadNumberStep("eMoveValue")) {
                MarksForClick().MoveLabels(dx * *v, dy * *v);
            }
        });
    }
    for (const char* name : kHeightStepButtons) {
        correction(name, [this, name] { sbHPlusClick(name); });
    }
    correction("sbPlusE", [this] {
        if (const auto v = ReadNumberStep("ePlusV")) {
            MarksForClick().ShiftHeights(*v);
        }
    });
    correction("sbMinusE", [this] {
        if (const auto v = ReadNumberStep("eMinusV")) {
            MarksForClick().ShiftHeights(-*v);
        }
    });
    correction("SpeedButton1", [this] { MarksForClick().AutoMark(); });
    correction("btnPlaceLabels", [this] { btnPlaceLabelsClick(); });
    correction("btnUndo", [this] { btnUndoClick(); });
    Bind("Button2", ui::Event::Click, [this] { Button2Click(); });
    Bind("Button1", ui::Event::Click, [this] { Button1Click(); });
}

ui::Handler TfKavrelEditor::Undoable(ui::Handler click) {
    return [this, click = std::move(click)] {
        try {
            click();
        } catch (...) {
            ShowUndoState();
            throw;
        }
        ShowUndoState();
    };
}

void TfKavrelEditor::ShowUndoState() {
    SetEnabled("btnUndo", Marks.CanUndo());
}

void TfKavrelEditor::btnUndoClick() {
    const kavrel::UndoCounts counts = Marks.UndoLastClick();
    if (counts.changed > 0 || counts.rebuilt > 0) {
        ui::ShowMessage(Handle(),
                        kavrel::UndoMessage(counts.restored, counts.changed, counts.rebuilt));
    }
}

kavrel::MarkEditor& TfKavrelEditor::MarksForClick() {
    Marks.rails = Checked("cbRelsy");
    return Marks;
}

std::optional<double> TfKavrelEditor::ReadAngleStep(const char* edit) {
    const auto value = kavrel::ParseNumberText(Text(edit), kavrel::LibraryDecimalSeparator());
    if (!value) {
        ui::ShowMessage(Handle(), kBadAngleMessage, 0);
    }
    return value;
}

std::optional<double> TfKavrelEditor::ReadNumberStep(const char* edit) {
    const std::u16string text = Text(edit);
    const auto value = kavrel::ParseNumberText(text, kavrel::LibraryDecimalSeparator());
    if (!value) {
        ui::ShowMessage(Handle(), kavrel::kBadNumberMessage + text, 0);
    }
    return value;
}

void TfKavrelEditor::sbHPlusClick(const char* sender) {
    // The caption is the step; a caption that is no number steps by 0.
    const auto step = kavrel::ParseNumberText(Text(sender), kavrel::LibraryDecimalSeparator());
    MarksForClick().ShiftHeights(step.value_or(0.0));
}

void TfKavrelEditor::btnPlaceLabelsClick() {
    const auto height = kavrel::LabelHeightValue(Marks.settings);
    if (!height) {
        ui::ShowMessage(Handle(), kavrel::kBadNumberMessage + Marks.settings.LabelHeight, 0);
        return;
    }
    const std::size_t crowded = MarksForClick().PlaceLabels(*height);
    if (crowded > 0) {
        const std::string count = std::to_string(crowded);
        ui::ShowMessage(Handle(), kNoFreePlaceMessage + std::u16string(count.begin(), count.end()));
    }
}

void TfKavrelEditor::OnCreate() {
    // Nothing to take back yet.
    SetEnabled("btnUndo", false);
    kavrel::InstallUndoShortcut(Handle(), Control("btnUndo"));
    FormCreate();
}

void TfKavrelEditor::FormCreate() {
    IHostApplication* app = kavrel::gis::RequireApp();
    kavrel::PanelPreferences prefs = CollectPreferences();
    std::exception_ptr failure;
    try {
        kavrel::LoadSettings(app, prefs);
    } catch (...) {
        failure = std::current_exception();
    }
    // What was read before a failure is kept; the rest shows the defaults.
    ApplyPreferences(prefs);
    ReleasePanelOnClose = true;
    // The panel fetches the map objects even after a failed load, so that it
    // can work.
    try {
        Marks.MapObjects = kavrel::gis::MapObjectsOf(kavrel::gis::Database(app).get());
    } catch (...) {
        if (!failure) {
            failure = std::current_exception();
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

kavrel::PanelPreferences TfKavrelEditor::CollectPreferences() const {
    kavrel::PanelPreferences prefs;
    prefs.settings = Marks.settings;
    prefs.RotAngle = Text("eRotAngle");
    prefs.MinusValue = Text("eMinusV");
    prefs.PlusValue = Text("ePlusV");
    prefs.MoveValue = Text("eMoveValue");
    prefs.Rails = Checked("cbRelsy");
    return prefs;
}

void TfKavrelEditor::ApplyPreferences(const kavrel::PanelPreferences& prefs) {
    Marks.settings = prefs.settings;
    SetText("eRotAngle", prefs.RotAngle);
    SetText("eMinusV", prefs.MinusValue);
    SetText("ePlusV", prefs.PlusValue);
    SetText("eMoveValue", prefs.MoveValue);
    SetChecked("cbRelsy", prefs.Rails);
}

void TfKavrelEditor::Button1Click() {
    ReleasePanelOnClose = false;
    Close();
    PostPrivate(kavrel::WM_RELEASEPANEL);
}

void TfKavrelEditor::Button2Click() {
    if (const auto chosen = kavrel::EditMarkSettings(Handle(), Marks.settings)) {
        Marks.settings = *chosen;
    }
}

void TfKavrelEditor::WMReleasePanel() {
    TaskPanel.reset();
}

bool TfKavrelEditor::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kavrel::WM_RELEASEPANEL) {
        WMReleasePanel();
        return true;
    }
    return ui::Form::OnMessage(message, wParam, lParam);
}

ui::CloseAction TfKavrelEditor::OnClose() {
    if (ReleasePanelOnClose) {
        TaskPanel.reset();
    }
    return ui::CloseAction::Free;
}

void TfKavrelEditor::CloseNow() noexcept {
    if (ReleasePanelOnClose) {
        TaskPanel.reset();
    }
    Destroy();
}

void TfKavrelEditor::OnDestroy() {
    FormDestroy();
}

void TfKavrelEditor::FormDestroy() {
    // The next correction command makes a new panel, whatever the save does.
    if (kavrel::EditorPanel == this) {
        kavrel::EditorPanel = nullptr;
    }
    try {
        kavrel::SaveSettings(kavrel::gis::RequireApp(), CollectPreferences());
    } catch (...) {
        ui::ShowCurrentException(GetAncestor(Handle(), GA_ROOT));
    }
    TaskPanel.reset();
    Marks.MapObjects.reset();
}

namespace kavrel {

TfKavrelEditor* EditorPanel = nullptr;

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
