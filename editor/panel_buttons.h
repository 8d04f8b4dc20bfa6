// The panel's buttons, one row each: its name, its place, what it shows (a
// caption, or a picture, and a tooltip) and what a click does. The panel's
// layout, its handlers and its pictures are made from these rows, and the
// tests and the benchmark take the buttons they click from them, so that a
// new button is one new row. Windows-free.
#pragma once

#include <span>

#include "ui/layout_math.h"

namespace kavrel {

// What a click does.
enum class ButtonAction {
    SetLabelAngle,    // to `value` degrees
    TurnLabels,       // by the step in `step_edit` times `value` (-1 raises the angle)
    TurnRailStrokes,  // by the step in `step_edit` times `value` (+1 clockwise)
    MoveLabels,       // by the step in `step_edit` times (dx, dy): x north, y east
    StepHeights,      // by the number the caption shows
    TypeHeights,      // by the step in `step_edit` times `value`
    AutoMark,
    PlaceLabels,
    Undo,
    Settings,
    Close,
};

// What the button shows besides its caption.
enum class ButtonPicture {
    None,                      // a push button with its caption
    Angle,                     // a sample label at `value` degrees
    Arrow,                     // an arrow pointing (dx north, dy east)
    TurnAnticlockwiseHeadTop,  // half-circle arrows, turning as the button turns
    TurnClockwiseHeadBottom,
    TurnClockwiseHeadTop,
    TurnAnticlockwiseHeadBottom,
    PointsAndLabels,  // points with their labels beside them
};

struct PanelButton {
    const char* name;
    ui::Rect place;  // 96-dpi pixels in the panel's client area
    const char16_t* caption;
    const char16_t* tooltip;
    ButtonPicture picture;
    ButtonAction action;
    double value = 0;
    int dx = 0;
    int dy = 0;
    const char* step_edit = nullptr;
    ui::Anchors anchors = ui::kAnchorsDefault;
    int tab_order = -1;
};

// Every button of the panel, in the order the layout declares them.
std::span<const PanelButton> PanelButtons();

// A click that may change the map (and that "Отменить" takes back), and one
// that works on rail marks only, in rails mode.
bool ChangesTheMap(const PanelButton& button);
bool WorksOnRailMarks(const PanelButton& button);

}  // namespace kavrel
