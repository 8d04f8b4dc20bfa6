#include "settings/settings_dialog_layout.h"

namespace kavrel {
namespace {

using ui::ControlKind;
using ui::ControlLayout;

ControlLayout Label(const char* name, int left, int top, const char16_t* caption) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::Label;
    c.rect = {left, top, 0, 0};  // fits its text
    c.caption = caption;
    return c;
}

// The boxes that show a style's display name: the user reads them, the
// "Выбрать..." buttons change them.
ControlLayout StyleBox(const char* name, int top, int tab_order) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::Edit;
    c.rect = {8, top, 377, 21};
    c.readOnly = true;
    c.tabOrder = tab_order;
    return c;
}

ControlLayout Button(const char* name, int left, int top, int width, int height,
                     const char16_t* caption, int tab_order, int modal_result = 0) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::PushButton;
    c.rect = {left, top, width, height};
    c.caption = caption;
    c.tabOrder = tab_order;
    c.modalResult = modal_result;
    return c;
}

}  // namespace

ui::FormLayout KavrelSetupLayout() {
    ui::FormLayout form;
    form.typeName = u"TfKavrelSetup";
    form.caption = u"Настройка редактора отметок";
    form.frame = ui::FormFrame::Dialog;
    form.clientSize = {477, 382};
    form.screenPosition = POINT{0, 0};
    form.fontName = u"Tahoma";
    form.fontHeight = -11;

    ControlLayout field;
    field.name = "cbKavrelField";
    field.kind = ControlKind::ComboDropDown;
    field.rect = {8, 112, 377, 21};
    field.tabOrder = 6;

    ControlLayout height;
    height.name = "eLabelHeight";
    height.kind = ControlKind::Edit;
    height.rect = {8, 304, 65, 21};
    height.tabOrder = 13;

    form.controls = {
        Label("Label1", 8, 8, u"Стиль точки высотной отметки"),
        StyleBox("ePointStyle", 24, 2),
        Button("Button3", 392, 24, 65, 21, u"Выбрать...", 3),
        Label("Label2", 8, 52, u"Стиль надписи высотной отметки"),
        StyleBox("eTextStyle", 68, 4),
        Button("Button4", 392, 68, 65, 21, u"Выбрать...", 5),
        Label("Label3", 8, 96, u"Поле высоты отметки"),
        field,
        Label("Label4", 8, 145, u"Стиль отметки рельса"),
        StyleBox("eRelsStyleName", 164, 7),
        Button("Button5", 391, 164, 65, 21, u"Выбрать...", 8),
        Label("Label5", 8, 192, u"Стиль надписи высотной отметки рельса"),
        StyleBox("eRTextStyleName", 208, 9),
        Button("Button6", 392, 208, 65, 21, u"Выбрать...", 10),
        Label("Label6", 8, 240, u"Стиль рельса"),
        StyleBox("eRLStyleName", 256, 11),
        Button("Button7", 392, 256, 65, 21, u"Выбрать...", 12),
        Label("Label7", 8, 288, u"Высота подписей, м"),
        height,
        // OK checks the typed height before it ends the dialog.
        Button("Button1", 304, 349, 75, 25, u"ОК", 0),
        Button("Button2", 392, 349, 75, 25, u"Отмена", 1, 2),
    };
    return form;
}

}  // namespace kavrel
