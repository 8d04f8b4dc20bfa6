#include "editor/editor_panel_layout.h"

#include "editor/panel_buttons.h"

namespace kavrel {
namespace {

using ui::ControlKind;
using ui::ControlLayout;

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
    c.rect = {left, top, 0, 0};  // fits its text
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
    for (const PanelButton& b : PanelButtons()) {
        ControlLayout button;
        button.name = b.name;
        button.kind =
            b.picture == ButtonPicture::None ? ControlKind::PushButton : ControlKind::ImageButton;
        button.rect = b.place;
        button.caption = b.caption ? b.caption : u"";
        button.tooltip = b.tooltip ? b.tooltip : u"";
        button.anchors = b.anchors;
        button.tabOrder = b.tab_order;
        c.push_back(std::move(button));
    }

    // The typed steps, each beside the buttons that use it.
    c.push_back(Edit("eRotAngle", 8, 164, 33, u"5", 5));
    c.push_back(Label("Label1", 48, 164, u"°"));
    c.push_back(Edit("eRRotAngle", 116, 164, 33, u"5", 7));
    c.push_back(Label("Label2", 156, 164, u"°"));
    c.push_back(Edit("ePlusV", 136, 220, 45, u"0,1", 1));
    c.push_back(Edit("eMinusV", 136, 248, 45, u"0,1", 2));
    // In the middle of the label moves.
    c.push_back(Edit("eMoveValue", 136, 316, 25, u"0,2", 3));

    ControlLayout rails;
    rails.name = "cbRelsy";
    rails.kind = ControlKind::CheckBox;
    rails.rect = {8, 428, 97, 17};
    rails.caption = u"Рельсы";
    rails.tabOrder = 6;
    c.push_back(rails);
    return form;
}

}  // namespace kavrel
