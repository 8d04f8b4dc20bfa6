#include "tests/ui/test_forms.h"

#include <stdexcept>

#include "base/errors.h"

namespace uitest {

using ui::ControlKind;
using ui::ControlLayout;

namespace {

ControlLayout Control(std::string name, ControlKind kind, ui::Rect rect,
                      std::u16string caption = {}, int tabOrder = -1) {
    ControlLayout layout;
    layout.name = std::move(name);
    layout.kind = kind;
    layout.rect = rect;
    layout.caption = std::move(caption);
    layout.tabOrder = tabOrder;
    return layout;
}

void PaintArrow(HDC dc, const RECT& area, bool, bool) {
    MoveToEx(dc, area.left + 2, (area.top + area.bottom) / 2, nullptr);
    LineTo(dc, area.right - 2, (area.top + area.bottom) / 2);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

ui::FormLayout PanelLayout() {
    ui::FormLayout layout;
    layout.typeName = kPanelType;
    layout.caption = u"Работа с отметкой высоты";
    layout.frame = ui::FormFrame::Child;
    layout.clientSize = {224, 492};

    ControlLayout sb45 = Control("sb45", ControlKind::ImageButton, {128, 8, 57, 41});
    sb45.tooltip = u"Подпись под углом 45°";
    sb45.painter = PaintArrow;
    ControlLayout sbMoveU = Control("sbMoveU", ControlKind::ImageButton, {136, 292, 23, 22});
    sbMoveU.tooltip = u"Сдвинуть подпись вверх";
    sbMoveU.painter = PaintArrow;
    ControlLayout button2 =
        Control("Button2", ControlKind::PushButton, {145, 424, 75, 25}, u"Настройка...", 4);
    button2.anchors = ui::kAnchorRight | ui::kAnchorBottom;
    ControlLayout button1 =
        Control("Button1", ControlKind::PushButton, {145, 460, 75, 25}, u"Закрыть", 0);
    button1.anchors = ui::kAnchorRight | ui::kAnchorBottom;
    ControlLayout fixedList = Control("cbMetod", ControlKind::ComboList, {8, 220, 90, 21});
    fixedList.items = {u"Как точки", u"Точки и подпись текста", u"Как вектор"};
    ControlLayout field =
        Control("cbKavrelField", ControlKind::ComboDropDown, {8, 248, 90, 21}, {}, 7);
    field.items = {u"A.H", u"A.N", u"B.Z"};
    ControlLayout tree = Control("trv1", ControlKind::TreeView, {8, 276, 90, 100});
    tree.treeIndent = 19;
    ControlLayout delta =
        Control("leVDelta", ControlKind::LabelledEdit, {60, 196, 45, 21}, u"Смещение ");

    layout.controls = {
        sb45,
        sbMoveU,
        Control("eRotAngle", ControlKind::Edit, {8, 164, 33, 21}, u"5", 5),
        Control("Label1", ControlKind::Label, {48, 164, 5, 13}, u"°"),
        Control("Label2", ControlKind::Label, {156, 164, 0, 0}, u"Поле высоты"),
        Control("ePlusV", ControlKind::Edit, {136, 220, 45, 21}, u"0,1", 1),
        Control("eMinusV", ControlKind::Edit, {136, 248, 45, 21}, u"0,1", 2),
        Control("eMoveValue", ControlKind::Edit, {136, 316, 25, 21}, u"0,2", 3),
        Control("cbRelsy", ControlKind::CheckBox, {8, 428, 97, 17}, u"Рельсы", 6),
        button2,
        button1,
        fixedList,
        field,
        tree,
        delta,
        Control("mData", ControlKind::Memo, {110, 380, 100, 40}),
        Control("ProgressBar1", ControlKind::ProgressBar, {0, 479, 224, 13}),
    };
    return layout;
}

ui::FormLayout DialogLayout() {
    ui::FormLayout layout;
    layout.typeName = kDialogType;
    layout.caption = u"Настройка редактора отметок";
    layout.frame = ui::FormFrame::Dialog;
    layout.clientSize = {477, 382};
    layout.screenPosition = POINT{0, 0};
    ControlLayout ok = Control("Button1", ControlKind::PushButton, {304, 349, 75, 25}, u"ОК", 0);
    ok.modalResult = ui::kModalOk;
    ok.isDefault = true;
    ControlLayout cancel =
        Control("Button2", ControlKind::PushButton, {392, 349, 75, 25}, u"Отмена", 1);
    cancel.modalResult = ui::kModalCancel;
    cancel.isCancel = true;
    layout.controls = {
        Control("Label1", ControlKind::Label, {8, 8, 0, 0}, u"Стиль точки высотной отметки"),
        Control("ePointStyle", ControlKind::Edit, {8, 24, 377, 21}, u"стиль не выбран", 2),
        Control("Button3", ControlKind::PushButton, {392, 24, 65, 21}, u"Выбрать...", 3),
        Control("eTextStyle", ControlKind::Edit, {8, 68, 377, 21}, {}, 4),
        ok,
        cancel,
    };
    layout.controls[1].readOnly = true;
    return layout;
}

ui::FormLayout SizeableLayout() {
    ui::FormLayout layout;
    layout.typeName = kSizeableType;
    layout.caption = u"Импорт высотных отметок";
    layout.frame = ui::FormFrame::Sizeable;
    layout.clientSize = {697, 463};
    layout.fontName = u"MS Sans Serif";
    layout.screenPosition = POINT{297, 316};
    ControlLayout memo = Control("mData", ControlKind::Memo, {8, 312, 681, 89}, {}, 1);
    memo.anchors = ui::kAnchorLeft | ui::kAnchorRight | ui::kAnchorTop | ui::kAnchorBottom;
    ControlLayout button =
        Control("Button2", ControlKind::PushButton, {608, 416, 75, 25}, u"Импорт", 0);
    button.anchors = ui::kAnchorRight | ui::kAnchorBottom;
    ControlLayout progress = Control("ProgressBar1", ControlKind::ProgressBar, {0, 450, 697, 13});
    progress.anchors = ui::kAnchorLeft | ui::kAnchorRight | ui::kAnchorBottom;
    ControlLayout vector = Control("leVectorLength", ControlKind::LabelledEdit, {120, 120, 121, 21},
                                   u"Длина вектора, мм ", 2);
    vector.anchors = ui::kAnchorRight | ui::kAnchorTop;
    layout.controls = {
        Control("cbMetod", ControlKind::ComboList, {104, 8, 537, 21}, {}, 3),
        memo,
        button,
        progress,
        vector,
    };
    layout.controls[0].items = {u"Как точки", u"Точки и подпись текста", u"Как вектор"};
    return layout;
}

HostWindow::HostWindow() {
    static const ATOM registered = [] {
        WNDCLASSW host{};
        host.lpfnWndProc = HostProc;
        host.hInstance = GetModuleHandleW(nullptr);
        host.lpszClassName = L"UiTestHostWindow";
        host.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        return RegisterClassW(&host);
    }();
    if (!registered) {
        throw std::runtime_error("cannot register the host window class");
    }
    window_ = CreateWindowExW(0, L"UiTestHostWindow", L"Host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50,
                              50, 400, 600, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!window_) {
        throw std::runtime_error("cannot create the host window");
    }
}

HostWindow::~HostWindow() {
    Destroy();
}

void HostWindow::Destroy() {
    if (window_) {
        DestroyWindow(window_);
        window_ = nullptr;
    }
}

RecordingForm::RecordingForm(ui::FormLayout layout, Record& record, ui::CloseAction onClose)
    : ui::Form(std::move(layout)), record_(record), closeAction_(onClose) {}

void RecordingForm::OnCreate() {
    ++record_.created;
    if (throwOnCreate_) {
        throw kavrel::AddonError(u"'x' is not a valid boolean value");
    }
}

void RecordingForm::OnShow() {
    ++record_.shown;
    if (throwOnShow_) {
        throw kavrel::AddonError(u"Ошибка при открытии");
    }
}

ui::CloseAction RecordingForm::OnClose() {
    ++record_.closeRequests;
    return closeAction_;
}

void RecordingForm::OnDestroy() {
    ++record_.destroyed;
}

bool RecordingForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    record_.messages.push_back(message);
    record_.messageParams.emplace_back(wParam, lParam);
    if (message == kProbeFocus) {
        record_.focusAtProbe.push_back(GetFocus());
    }
    return true;
}

void PumpMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

SIZE ClientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

}  // namespace uitest
