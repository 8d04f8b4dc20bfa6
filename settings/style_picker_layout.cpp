#include "settings/style_picker_layout.h"

namespace kavrel {
namespace {

using ui::ControlKind;
using ui::ControlLayout;

ControlLayout Button(const char* name, int top, const char16_t* caption, int tab_order,
                     int modal_result) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::PushButton;
    c.rect = {380, top, 75, 25};
    c.caption = caption;
    c.tabOrder = tab_order;
    c.modalResult = modal_result;
    return c;
}

}  // namespace

ui::FormLayout SelectStyleLayout() {
    ui::FormLayout form;
    form.typeName = u"TfSelectStyle";
    form.caption = u"Добавление стиля";
    form.frame = ui::FormFrame::ToolWindow;
    form.clientSize = {468, 322};
    form.screenPosition = POINT{200, 108};
    form.fontName = u"MS Sans Serif";
    form.fontHeight = -11;

    // The tree fills the left edge of the dialog from top to bottom.
    ControlLayout tree;
    tree.name = "trv1";
    tree.kind = ControlKind::TreeView;
    tree.rect = {0, 0, 369, 322};
    tree.anchors = ui::kAnchorLeft | ui::kAnchorTop | ui::kAnchorBottom;
    tree.treeIndent = 19;
    tree.tabOrder = 0;

    form.controls = {
        tree,
        // "ОК" closes with 1 only when a style is chosen; the click handler
        // withdraws the result otherwise.
        Button("Button1", 8, u"ОК", 1, 1),
        Button("Button2", 44, u"Отмена", 2, 2),
    };
    return form;
}

}  // namespace kavrel
