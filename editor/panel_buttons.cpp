#include "editor/panel_buttons.h"

namespace kavrel {
namespace {

using enum ButtonAction;
using enum ButtonPicture;

constexpr ui::Anchors kBottomLeft = ui::kAnchorLeft | ui::kAnchorBottom;
constexpr ui::Anchors kBottomRight = ui::kAnchorRight | ui::kAnchorBottom;

// Rows of the kinds of button, each with what its kind needs.
constexpr PanelButton Preset(const char* name, int left, int top, double degrees,
                             const char16_t* tooltip) {
    return {name, {left, top, 57, 41}, nullptr, tooltip, Angle, SetLabelAngle, degrees};
}

constexpr PanelButton Turn(const char* name, int left, int top, ButtonAction action, double sign,
                           ButtonPicture picture, const char16_t* tooltip) {
    const char* edit = action == TurnLabels ? "eRotAngle" : "eRRotAngle";
    return {name, {left, top, 41, 33}, nullptr, tooltip, picture, action, sign, 0, 0, edit};
}

// The fixed height steps: a column raising, a column lowering, 24 apart.
constexpr PanelButton Step(const char* name, int left, int row, const char16_t* caption) {
    return {name, {left, 220 + 24 * row, 37, 22}, caption, nullptr, None, StepHeights};
}

constexpr PanelButton Typed(const char* name, int top, double sign, const char16_t* caption,
                            const char* edit) {
    return {name, {108, top, 23, 22}, caption, nullptr, None, TypeHeights, sign, 0, 0, edit};
}

constexpr PanelButton Move(const char* name, int left, int top, int dx, int dy,
                           const char16_t* tooltip) {
    return {name, {left, top, 23, 22}, nullptr, tooltip, Arrow, MoveLabels, 0, dx,
            dy,   "eMoveValue"};
}

// Push buttons at the bottom, anchored there.
constexpr PanelButton Bottom(const char* name, int left, int top, const char16_t* caption,
                             const char16_t* tooltip, ButtonAction action, ui::Anchors anchors,
                             int tab_order) {
    return {
        name,     {left, top, 75, 25}, caption, tooltip, None, action, 0, 0, 0, nullptr, anchors,
        tab_order};
}

constexpr const char16_t kPlaceLabelsTip[] =
    u"Расставить подписи: каждую выделенную подпись туда, где она не перекрывает другие "
    u"подписи, точки и линии";

// clang-format off
constexpr PanelButton kButtons[] = {
    // Label angle presets, three rows of three.
    Preset("sb90", 8, 8, 90, u"Подпись под углом 90°"),
    Preset("sb70", 68, 8, 70, u"Подпись под углом 70°"),
    Preset("sb45", 128, 8, 45, u"Подпись под углом 45°"),
    Preset("sb20", 8, 52, 20, u"Подпись под углом 20°"),
    Preset("sb0", 68, 52, 0, u"Подпись горизонтально (0°)"),
    Preset("sbm20", 128, 52, -20, u"Подпись под углом −20°"),
    Preset("sbm45", 8, 96, -45, u"Подпись под углом −45°"),
    Preset("sbm70", 68, 96, -70, u"Подпись под углом −70°"),
    Preset("sbm90", 128, 96, -90, u"Подпись под углом −90°"),
    // Beside the presets, as high as their three rows.
    {"btnPlaceLabels", {189, 8, 31, 129}, nullptr, kPlaceLabelsTip, PointsAndLabels, PlaceLabels},

    // Label and rail-stroke turns by a typed step; "up" raises a label's angle.
    Turn("sbRotUp", 68, 140, TurnLabels, -1, TurnAnticlockwiseHeadTop,
         u"Повернуть подписи против часовой стрелки"),
    Turn("sbRotDn", 68, 176, TurnLabels, 1, TurnClockwiseHeadBottom,
         u"Повернуть подписи по часовой стрелке"),
    Turn("sbRRotUp", 175, 140, TurnRailStrokes, 1, TurnClockwiseHeadTop,
         u"Повернуть штрих отметки по часовой стрелке"),
    Turn("sbRRotDn", 175, 176, TurnRailStrokes, -1, TurnAnticlockwiseHeadBottom,
         u"Повернуть штрих отметки против часовой стрелки"),

    // Fixed height steps, raising on the left, lowering on the right.
    Step("sbHPlus", 8, 0, u"+0,5"),       Step("SpeedButton9", 52, 0, u"-0,5"),
    Step("SpeedButton2", 8, 1, u"+0,4"),  Step("SpeedButton10", 52, 1, u"-0,4"),
    Step("SpeedButton3", 8, 2, u"+0,3"),  Step("SpeedButton11", 52, 2, u"-0,3"),
    Step("SpeedButton4", 8, 3, u"+0,2"),  Step("SpeedButton12", 52, 3, u"-0,2"),
    Step("SpeedButton5", 8, 4, u"+0,1"),  Step("SpeedButton13", 52, 4, u"-0,1"),
    Step("SpeedButton6", 8, 5, u"+0,05"), Step("SpeedButton14", 52, 5, u"-0,05"),
    Step("SpeedButton7", 8, 6, u"+0,02"), Step("SpeedButton15", 52, 6, u"-0,02"),
    Step("SpeedButton8", 8, 7, u"+0,01"), Step("SpeedButton16", 52, 7, u"-0,01"),

    // Typed height steps, each beside its edit.
    Typed("sbPlusE", 220, 1, u"+", "ePlusV"),
    Typed("sbMinusE", 248, -1, u"-", "eMinusV"),

    // Label moves around the step edit.
    Move("sbMoveUL", 108, 292, 1, -1, u"Сдвинуть подпись вверх и влево"),
    Move("sbMoveU", 136, 292, 1, 0, u"Сдвинуть подпись вверх"),
    Move("sbMoveUR", 164, 292, 1, 1, u"Сдвинуть подпись вверх и вправо"),
    Move("sbMoveL", 108, 316, 0, -1, u"Сдвинуть подпись влево"),
    Move("sbMoveR", 164, 316, 0, 1, u"Сдвинуть подпись вправо"),
    Move("sbMoveDL", 108, 340, -1, -1, u"Сдвинуть подпись вниз и влево"),
    Move("sbMoveD", 136, 340, -1, 0, u"Сдвинуть подпись вниз"),
    Move("sbMoveDR", 164, 340, -1, 1, u"Сдвинуть подпись вниз и вправо"),

    {"SpeedButton1", {106, 376, 81, 22}, u"Авто отметка",
     u"Поставить рельсовые отметки на ближайший рельс", None, AutoMark},

    Bottom("Button2", 145, 424, u"Настройка...", nullptr, Settings, kBottomRight, 4),
    Bottom("Button1", 145, 460, u"Закрыть", nullptr, Close, kBottomRight, 0),
    // Level with "Закрыть", on the other side.
    Bottom("btnUndo", 8, 460, u"Отменить", u"Отменить последнее действие панели (Ctrl+Z)", Undo,
           kBottomLeft, 8),
};
// clang-format on

}  // namespace

std::span<const PanelButton> PanelButtons() {
    return kButtons;
}

bool ChangesTheMap(const PanelButton& button) {
    switch (button.action) {
        case SetLabelAngle:
        case TurnLabels:
        case TurnRailStrokes:
        case MoveLabels:
        case StepHeights:
        case TypeHeights:
        case AutoMark:
        case PlaceLabels:
            return true;
        case Undo:
        case Settings:
        case Close:
            return false;
    }
    return false;
}

bool WorksOnRailMarks(const PanelButton& button) {
    return button.action == TurnRailStrokes || button.action == AutoMark;
}

}  // namespace kavrel
