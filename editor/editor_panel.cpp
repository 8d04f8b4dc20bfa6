#include "editor/editor_panel.h"

#include <exception>
#include <optional>
#include <string>

#include "base/decimal_separator.h"
#include "base/errors.h"
#include "base/number_text.h"
#include "editor/button_pictures.h"
#include "editor/editor_panel_layout.h"
#include "editor/panel_buttons.h"
#include "editor/panel_preferences.h"
#include "undo/undo_message.h"
#include "editor/undo_shortcut.h"
#include "frame/library_refs.h"
#include "gis/host_calls.h"
#include "settings/settings_dialog.h"
#include "ui/message_box.h"

using kavrel::ComPtr;

namespace {

constexpr char16_t kBadAngleMessage[] = u"Неправильный ввод угла!";
constexpr char16_t kNoFreePlaceMessage[] = u"Подписей без свободного места: ";

using kavrel::ButtonAction;
using kavrel::ButtonPicture;
using kavrel::PanelButton;

// The picture of an image button, painted at the size the button has.
ui::PicturePainter PainterOf(const PanelButton& b) {
    using kavrel::Turn;
    const auto turn = [](Turn turn, bool head_at_top) -> ui::PicturePainter {
        return [turn, head_at_top](HDC dc, const RECT& area, bool, bool) {
            kavrel::PaintTurnArrow(dc, area, turn, head_at_top);
        };
    };
    switch (b.picture) {
        case ButtonPicture::None:
            return {};
        case ButtonPicture::Angle:
            return [degrees = b.value](HDC dc, const RECT& area, bool, bool) {
                kavrel::PaintPresetPicture(dc, area, degrees);
            };
        case ButtonPicture::Arrow:
            // The row's dx is northward (up), dy eastward (right).
            return [dx = b.dx, dy = b.dy](HDC dc, const RECT& area, bool, bool) {
                kavrel::PaintMoveArrow(dc, area, dy, dx);
            };
        case ButtonPicture::TurnAnticlockwiseHeadTop:
            return turn(Turn::Anticlockwise, true);
        case ButtonPicture::TurnClockwiseHeadBottom:
            return turn(Turn::Clockwise, false);
        case ButtonPicture::TurnClockwiseHeadTop:
            return turn(Turn::Clockwise, true);
        case ButtonPicture::TurnAnticlockwiseHeadBottom:
            return turn(Turn::Anticlockwise, false);
        case ButtonPicture::PointsAndLabels:
            return [](HDC dc, const RECT& area, bool, bool) {
                kavrel::PaintPlaceLabelsPicture(dc, area);
            };
    }
    return {};
}

// The layout with the pictures of its image buttons.
ui::FormLayout WithPictures(ui::FormLayout layout) {
    for (const PanelButton& b : kavrel::PanelButtons()) {
        for (ui::ControlLayout& control : layout.controls) {
            if (control.name == b.name) {
                control.painter = PainterOf(b);
            }
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
    for (const PanelButton& b : kavrel::PanelButtons()) {
        ui::Handler click = ClickOf(b);
        // A click that may write to the map, or take a click back, shows
        // afterwards whether there is something to undo.
        if (kavrel::ChangesTheMap(b) || b.action == ButtonAction::Undo) {
            click = Undoable(std::move(click));
        }
        Bind(b.name, ui::Event::Click, std::move(click));
    }
}

ui::Handler TfKavrelEditor::ClickOf(const PanelButton& b) {
    const char* name = b.name;
    const char* edit = b.step_edit;
    const double value = b.value;
    switch (b.action) {
        case ButtonAction::SetLabelAngle:
            return [this, value] { MarksForClick().SetLabelAngle(value); };
        case ButtonAction::TurnLabels:
            return [this, edit, value] {
                if (const auto s = ReadAngleStep(edit)) {
                    MarksForClick().RotateLabels(value * *s);
                }
            };
        case ButtonAction::TurnRailStrokes:
            return [this, edit, value] {
                if (const auto s = ReadAngleStep(edit)) {
                    MarksForClick().RotateRailShapes(value * *s);
                }
            };
        case ButtonAction::MoveLabels:
            return [this, edit, dx = b.dx, dy = b.dy] {
                if (const auto v = ReadNumberStep(edit)) {
                    MarksForClick().MoveLabels(dx * *v, dy * *v);
                }
            };
        case ButtonAction::StepHeights:
            return [this, name] { sbHPlusClick(name); };
        case ButtonAction::TypeHeights:
            return [this, edit, value] {
                if (const auto v = ReadNumberStep(edit)) {
                    MarksForClick().ShiftHeights(value * *v);
                }
            };
        case ButtonAction::AutoMark:
            return [this] { MarksForClick().AutoMark(); };
        case ButtonAction::PlaceLabels:
            return [this] { btnPlaceLabelsClick(); };
        case ButtonAction::Undo:
            return [this] { btnUndoClick(); };
        case ButtonAction::Settings:
            return [this] { Button2Click(); };
        case ButtonAction::Close:
            return [this] { Button1Click(); };
    }
    return {};
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
