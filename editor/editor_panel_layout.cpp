#include "editor/editor_panel_layout.h"

namespace kavrel {
namespace {

using ui::ControlKind;
using ui::ControlLayout;

ControlLayout Image(const char* name, int left, int top, int width, int height,
                    const char16_t* tooltip) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::ImageButton;
    c.rect = {left, top, width, height};
    c.tooltip = tooltip;
    return c;
}

ControlLayout Button(const char* name, int left, int top, int width, int height,
                     const char16_t* caption, int tab_order = -1) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::PushButton;
    c.rect = {left, top, width, height};
    c.caption = caption;
    c.tabOrder = tab_order;
    return c;
}

ControlLayout Edit(const char* name, int left, int top, int width, const char16_t* text,
                   int tab_order) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::Edit;
    c.rect = {left, top, width, 21};
    c.caption = text;
    c.tabOrder = tab_order;
    return c;
}

ControlLayout Label(const char* name, int left, int top, const char16_t* caption) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::Label;
    c.rect = {left, top, 5, 13};
    c.caption = caption;
    return c;
}

}  // namespace

ui::FormLayout KavrelEditorLayout() {
    ui::FormLayout form;
    form.typeName = u"TfKavrelEditor";
    form.caption = u"Работа с отметкой высоты";
    form.frame = ui::FormFrame::Child;
    form.clientSize = {224, 492};
    form.fontName = u"Tahoma";
    form.fontHeight = -11;

    auto& c = form.controls;
    // Label angle presets, three rows of three.
    c.push_back(Image("sb90", 8, 8, 57, 41, u"Подпись под углом 90°"));
    c.push_back(Image("sb70", 68, 8, 57, 41, u"Подпись под углом 70°"));
    c.push_back(Image("sb45", 128, 8, 57, 41, u"Подпись под углом 45°"));
    c.push_back(Image("sb20", 8, 52, 57, 41, u"Подпись под углом 20°"));
    c.push_back(Image("sb0", 68, 52, 57, 41, u"Подпись горизонтально (0°)"));
    c.push_back(Image("sbm20", 128, 52, 57, 41, u"Подпись под углом −20°"));
    c.push_back(Image("sbm45", 8, 96, 57, 41, u"Подпись под углом −45°"));
    c.push_back(Image("sbm70", 68, 96, 57, 41, u"Подпись под углом −70°"));
    c.push_back(Image("sbm90", 128, 96, 57, 41, u"Подпись под углом −90°"));
    // Beside the presets, as high as their three rows.
    c.push_back(Image("btnPlaceLabels", 189, 8, 31, 129,
                      u"Расставить подписи: каждую выделенную подпись туда, где она не "
                      u"перекрывает другие подписи, точки и линии"));

    // Label and rail turns by a typed step.
    c.push_back(Edit("eRotAngle", 8, 164, 33, u"5", 5));
    c.push_back(Label("Label1", 48, 164, u"°"));
    c.push_back(Image("sbRotUp", 68, 140, 41, 33, u"Повернуть подписи против часовой стрелки"));
    c.push_back(Image("sbRotDn", 68, 176, 41, 33, u"Повернуть подписи по часовой стрелке"));
    c.push_back(Edit("eRRotAngle", 116, 164, 33, u"5", 7));
    c.push_back(Label("Label2", 156, 164, u"°"));
    c.push_back(Image("sbRRotUp", 175, 140, 41, 33, u"Повернуть штрих отметки по часовой стрелке"));
    c.push_back(Image("sbRRotDn", 175, 176, 41, 33, u"Повернуть штрих отметки против часовой стрелки"));

    // Fixed height steps.
    const char* raise[] = {"sbHPlus",      "SpeedButton2", "SpeedButton3", "SpeedButton4",
                           "SpeedButton5", "SpeedButton6", "SpeedButton7", "SpeedButton8"};
    const char* lower[] = {"SpeedButton9",  "SpeedButton10", "SpeedButton11", "SpeedButton12",
                           "SpeedButton13", "SpeedButton14", "SpeedButton15", "SpeedButton16"};
    const char16_t* steps[] = {u"0,5", u"0,4", u"0,3", u"0,2", u"0,1", u"0,05", u"0,02", u"0,01"};
    for (int i = 0; i < 8; ++i) {
        const int top = 220 + 24 * i;
        c.push_back(Button(raise[i], 8, top, 37, 22, (u"+" + std::u16string(steps[i])).c_str()));
        c.push_back(Button(lower[i], 52, top, 37, 22, (u"-" + std::u16string(steps[i])).c_str()));
    }

    // Typed height steps.
    c.push_back(Button("sbPlusE", 108, 220, 23, 22, u"+"));
    c.push_back(Edit("ePlusV", 136, 220, 45, u"0,1", 1));
    c.push_back(Button("sbMinusE", 108, 248, 23, 22, u"-"));
    c.push_back(Edit("eMinusV", 136, 248, 45, u"0,1", 2));

    // Label moves around the step edit.
    c.push_back(Image("sbMoveUL", 108, 292, 23, 22, u"Сдвинуть подпись вверх и влево"));
    c.push_back(Image("sbMoveU", 136, 292, 23, 22, u"Сдвинуть подпись вверх"));
    c.push_back(Image("sbMoveUR", 164, 292, 23, 22, u"Сдвинуть подпись вверх и вправо"));
    c.push_back(Image("sbMoveL", 108, 316, 23, 22, u"Сдвинуть подпись влево"));
    c.push_back(Edit("eMoveValue", 136, 316, 25, u"0,2", 3));
    c.push_back(Image("sbMoveR", 164, 316, 23, 22, u"Сдвинуть подпись вправо"));
    c.push_back(Image("sbMoveDL", 108, 340, 23, 22, u"Сдвинуть подпись вниз и влево"));
    c.push_back(Image("sbMoveD", 136, 340, 23, 22, u"Сдвинуть подпись вниз"));
    c.push_back(Image("sbMoveDR", 164, 340, 23, 22, u"Сдвинуть подпись вниз и вправо"));

    c.push_back(Button("SpeedButton1", 106, 376, 81, 22, u"Авто отметка"));
    c.back().tooltip = u"Поставить рельсовые отметки на ближайший рельс";

    ControlLayout rails;
    rails.name = "cbRelsy";
    rails.kind = ControlKind::CheckBox;
    rails.rect = {8, 428, 97, 17};
    rails.caption = u"Рельсы";
    rails.tabOrder = 6;
    c.push_back(rails);

    c.push_back(Button("Button2", 145, 424, 75, 25, u"Настройка...", 4));
    c.back().anchors = ui::kAnchorRight | ui::kAnchorBottom;
    c.push_back(Button("Button1", 145, 460, 75, 25, u"Закрыть", 0));
    c.back().anchors = ui::kAnchorRight | ui::kAnchorBottom;
    // Level with "Закрыть", on the other side.
    c.push_back(Button("btnUndo", 8, 460, 75, 25, u"Отменить", 8));
    c.back().anchors = ui::kAnchorLeft | ui::kAnchorBottom;
    c.back().tooltip = u"Отменить последнее действие панели (Ctrl+Z)";
    return form;
}

}  // namespace kavrel
