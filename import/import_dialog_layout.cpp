#include "import/import_dialog_layout.h"

namespace kavrel {
namespace {

using ui::ControlKind;
using ui::ControlLayout;

// Every combo box of the dialog is a fixed-list drop-down.
constexpr int kComboHeight = 21;
constexpr int kEditHeight = 21;

ControlLayout Label(const char* name, int left, int top, const char16_t* caption) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::Label;
    c.rect = {left, top, 0, 0};  // fits its text
    c.caption = caption;
    return c;
}

ControlLayout Combo(const char* name, int left, int top, int width, int tab_order) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::ComboList;
    c.rect = {left, top, width, kComboHeight};
    c.tabOrder = tab_order;
    return c;
}

// The label stands to the left of the edit; its caption keeps its trailing blank.
ControlLayout LabelledEdit(const char* name, int left, int top, int width, const char16_t* label,
                           int tab_order) {
    ControlLayout c;
    c.name = name;
    c.kind = ControlKind::LabelledEdit;
    c.rect = {left, top, width, kEditHeight};
    c.caption = label;
    c.tabOrder = tab_order;
    return c;
}

}  // namespace

ui::FormLayout ImportDialogLayout() {
    ui::FormLayout form;
    form.typeName = u"TMainForm";
    form.caption = u"Импорт высотных отметок";
    form.frame = ui::FormFrame::Sizeable;
    form.clientSize = {697, 463};
    form.screenPosition = POINT{297, 316};
    form.fontName = u"MS Sans Serif";
    form.fontHeight = -11;

    auto& c = form.controls;
    c.push_back(Label("Label4", 16, 8, u"Метод импорта"));
    ControlLayout method = Combo("cbMetod", 104, 8, 537, 2);
    method.items = {u"Как точки", u"Точки и подпись текста", u"Как вектор"};
    c.push_back(method);
    c.push_back(Label("Label5", 16, 40, u"Слой"));
    c.push_back(Combo("cbLayer", 104, 40, 537, 3));
    c.push_back(Label("Label1", 16, 64, u"Стиль точек"));
    c.push_back(Combo("cbPointStyle", 104, 64, 537, 4));
    c.push_back(Label("Label6", 16, 88, u"Стиль подписей"));
    c.push_back(Combo("cbTExtStyle", 104, 88, 537, 5));

    c.push_back(LabelledEdit("leVectorLength", 120, 120, 121, u"Длина вектора, мм ", 6));
    c.push_back(LabelledEdit("leForZoomScale", 336, 120, 121, u"Для масштаба 1:", 7));
    // How far a mark may lie from its surveyed point, in map units.
    c.push_back(LabelledEdit("leTolerance", 632, 120, 57, u"Допуск совпадения, м", 8));
    c.push_back(LabelledEdit("leVDelta", 216, 152, 65, u"Смещение подписи по вертикали, мм ", 9));
    c.push_back(
        LabelledEdit("leHDelta", 504, 152, 57, u"Смещение подписи по горизонтали, мм ", 10));

    c.push_back(Label("Label2", 16, 184, u"Поле номера точки"));
    c.push_back(Combo("cbNumField", 128, 184, 505, 11));
    c.push_back(Label("Label3", 16, 208, u"Поле высоты"));
    c.push_back(Combo("cbZField", 128, 208, 505, 12));

    c.push_back(Label("Label7", 16, 240, u"Столбец X"));
    c.push_back(Combo("cbXColumn", 136, 240, 209, 13));
    c.push_back(Label("Label8", 368, 240, u"Столбец Y"));
    c.push_back(Combo("cbYColumn", 456, 240, 209, 14));
    c.push_back(Label("Label9", 16, 264, u"Столбец номер точки"));
    c.push_back(Combo("cbNColumn", 136, 264, 209, 15));
    c.push_back(Label("Label10", 368, 264, u"Столбец высоты"));
    c.push_back(Combo("cbZColumn", 456, 264, 209, 16));

    ControlLayout header;
    header.name = "cbNoFirstLine";
    header.kind = ControlKind::CheckBox;
    header.rect = {16, 288, 201, 17};
    header.caption = u"Первая строка - заголовок";
    header.tabOrder = 17;
    c.push_back(header);

    ControlLayout data;
    data.name = "mData";
    data.kind = ControlKind::Memo;
    data.rect = {8, 312, 681, 89};
    data.tabOrder = 18;
    c.push_back(data);

    ControlLayout import;
    import.name = "Button2";
    import.kind = ControlKind::PushButton;
    import.rect = {608, 416, 75, 25};
    import.caption = u"Импорт";
    import.tabOrder = 0;
    c.push_back(import);

    // Beside "Импорт": takes the dialog's last import back.
    ControlLayout undo;
    undo.name = "btnUndoImport";
    undo.kind = ControlKind::PushButton;
    undo.rect = {468, 416, 132, 25};
    undo.caption = u"Отменить импорт";
    undo.tabOrder = 1;
    c.push_back(undo);

    // Along the bottom edge at the full width of the window, whatever its size.
    ControlLayout progress;
    progress.name = "ProgressBar1";
    progress.kind = ControlKind::ProgressBar;
    progress.rect = {0, 450, 697, 13};
    progress.anchors = ui::kAnchorLeft | ui::kAnchorRight | ui::kAnchorBottom;
    c.push_back(progress);
    return form;
}

// A read-only text filling the window, whatever its size.
ui::FormLayout ImportResultLayout() {
    ui::FormLayout form;
    form.typeName = u"TfImportResult";
    form.caption = u"Результат импорта";
    form.frame = ui::FormFrame::Sizeable;
    form.clientSize = {760, 300};
    form.fontName = u"MS Sans Serif";
    form.fontHeight = -11;

    ui::ControlLayout text;
    text.name = "mResult";
    text.kind = ui::ControlKind::Memo;
    text.rect = {0, 0, 760, 300};
    text.readOnly = true;
    text.tabOrder = 0;
    text.anchors = ui::kAnchorLeft | ui::kAnchorTop | ui::kAnchorRight | ui::kAnchorBottom;
    form.controls.push_back(text);
    return form;
}

}  // namespace kavrel
