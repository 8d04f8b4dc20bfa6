#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "base/module.h"
#include "base/utf8.h"
#include "base/wide.h"
#include "ui/control_kinds.h"
#include "ui/form_control.h"
#include "ui/form_window_class.h"
#include "ui/message_box.h"
#include "ui/resource_count.h"

namespace ui {

using kavrel::Wide;

namespace {

// First identifier of controls: clear of IDOK, IDCANCEL and the other
// identifiers that IsDialogMessage sends on its own.
constexpr int kFirstControlId = 1000;

// The toolkit's own deferred destruction; registered so that it can never
// meet a form's private message.
UINT ReleaseMessage() {
    static const UINT message = RegisterWindowMessageW(L"kavrel.ui.ReleaseForm");
    return message;
}

struct FrameStyle {
    DWORD style;
    DWORD exStyle;
};

FrameStyle StyleOf(FormFrame frame) {
    switch (frame) {
        case FormFrame::Child:
            return {WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
        case FormFrame::Dialog:
            return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT};
        case FormFrame::ToolWindow:
            return {WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                    WS_EX_TOOLWINDOW | WS_EX_CONTROLPARENT};
        case FormFrame::Sizeable:
            return {WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    }
    throw std::logic_error("unknown form frame");
}

}  // namespace

Form::Form(FormLayout layout) : layout_(std::move(layout)), dpi_(ScreenDpi()) {
    std::vector<std::string> names;
    std::vector<TabEntry> tabs;
    for (const ControlLayout& control : layout_.controls) {
        names.push_back(control.name);
        tabs.push_back({control.name, control.tabOrder});
    }
    CheckControlNames(names);
    TabSequence(tabs);
    if (layout_.typeName.empty()) {
        throw std::invalid_argument("a form needs a type name");
    }
    detail::CountFormObject(+1);
}

Form::~Form() {
    if (window_) {
        // Deleted with its window still there: the derived part is gone, so
        // OnDestroy cannot run any more.
        destroyNotified_ = true;
        ownsItself_ = false;
        DestroyWindow(window_);
    }
    detail::CountFormObject(-1);
}

void FormDeleter::operator()(Form* form) const noexcept {
    form->Destroy();
    delete form;
}

void Form::TakeOwnLifetime() {
    if (!window_) {
        throw std::logic_error("a form owns itself only once its window is built");
    }
    ownsItself_ = true;
}

void Form::SetDpi(int dpi) {
    if (window_) {
        throw std::logic_error("the resolution of a form is fixed once its window is built");
    }
    if (dpi <= 0) {
        throw std::invalid_argument("a resolution must be positive");
    }
    dpi_ = dpi;
}

void Form::CreateChild(HWND parent) {
    if (window_) {
        throw std::logic_error("the form's window is already built");
    }
    if (layout_.frame != FormFrame::Child) {
        throw std::logic_error("only a form with the child frame lives inside another window");
    }
    if (!IsWindow(parent)) {
        throw std::invalid_argument("the parent of a child form must be a window");
    }
    Build(parent, Mode::Child);
    ShowWindow(window_, SW_SHOW);
}

void Form::Show(HWND owner) {
    if (layout_.frame == FormFrame::Child) {
        throw std::logic_error("a child form is shown by CreateChild");
    }
    if (!window_) {
        Build(owner ? GetAncestor(owner, GA_ROOT) : nullptr, Mode::Modeless);
    }
    mode_ = Mode::Modeless;
    OnShow();
    ShowWindow(window_, SW_SHOW);
}

void Form::Build(HWND parentOrOwner, Mode mode) {
    InitCommonControlsOnce();
    RegisterFormClass(layout_.typeName, &Form::WindowProc);
    font_ = MakeFont(layout_.fontName, ScaleToDpi(layout_.fontHeight, dpi_));

    const FrameStyle frame = StyleOf(layout_.frame);
    designedClient_ = ScaleToDpi(layout_.clientSize, dpi_);
    RECT outer{0, 0, designedClient_.width, designedClient_.height};
    AdjustWindowRectEx(&outer, frame.style, FALSE, frame.exStyle);
    int x = 0;
    int y = 0;
    if (layout_.frame != FormFrame::Child) {
        x = layout_.screenPosition ? layout_.screenPosition->x : CW_USEDEFAULT;
        y = layout_.screenPosition ? layout_.screenPosition->y : CW_USEDEFAULT;
    }
    mode_ = mode;
    const HWND created =
        CreateWindowExW(frame.exStyle, Wide(layout_.typeName), Wide(layout_.caption), frame.style,
                        x, y, outer.right - outer.left, outer.bottom - outer.top, parentOrOwner,
                        nullptr, kavrel::CodeModule(), this);
    if (!created) {
        font_.reset();
        mode_ = Mode::None;
        throw std::runtime_error("cannot create the window of form " +
                                 kavrel::WideToUtf8(layout_.typeName));
    }
    try {
        BuildControls();
    } catch (...) {
        // Never created, so never destroyed for the derived form either.
        destroyNotified_ = true;
        DestroyWindow(window_);
        controls_.clear();
        destroyNotified_ = false;
        throw;
    }
    RECT client{};
    GetClientRect(window_, &client);
    LayOutForClientSize({client.right, client.bottom});
    try {
        OnCreate();
    } catch (...) {
        ShowCurrentException(window_);
    }
}

void Form::BuildControls() {
    // Controls that Tab reaches are made first, in tab order, because the
    // dialog navigation follows the order in which windows were made.
    std::vector<const ControlLayout*> order;
    for (const ControlLayout& control : layout_.controls) {
        order.push_back(&control);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlLayout* a, const ControlLayout* b) {
                         const int left = a->tabOrder < 0 ? INT_MAX : a->tabOrder;
                         const int right = b->tabOrder < 0 ? INT_MAX : b->tabOrder;
                         return left < right;
                     });
    bool anyTooltip = false;
    for (const ControlLayout* control : order) {
        auto entry = std::make_unique<BuiltControl>();
        entry->layout = control;
        entry->id = kFirstControlId + static_cast<int>(control - layout_.controls.data());
        controls_.push_back(std::move(entry));
        CreateControlWindow(*controls_.back(), window_, font_.get(), dpi_);
        anyTooltip = anyTooltip || !control->tooltip.empty();
    }
    if (anyTooltip) {
        tooltips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                    WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr,
                                    kavrel::CodeModule(), nullptr);
        if (!tooltips_) {
            throw std::runtime_error("cannot create the tooltips of a form");
        }
        for (const auto& entry : controls_) {
            if (entry->layout->tooltip.empty()) {
                continue;
            }
            TOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = window_;
            tool.uId = reinterpret_cast<UINT_PTR>(entry->window);
            tool.lpszText = const_cast<wchar_t*>(Wide(entry->layout->tooltip));
            if (!SendMessageW(tooltips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
                throw std::runtime_error("cannot add the tooltip of " + entry->layout->name);
            }
        }
    }
}

void Form::LayOutForClientSize(Size actual) {
    for (const auto& entry : controls_) {
        if (!entry->window || entry->layout->anchors == kAnchorsDefault) {
            continue;
        }
        const Rect place =
            AnchoredRect(entry->placed, entry->layout->anchors, designedClient_, actual);
        RECT now{};
        GetWindowRect(entry->window, &now);
        // A combo box keeps the height of its open list.
        SetWindowPos(entry->window, nullptr, place.left, place.top, place.width,
                     IsComboBox(entry->layout->kind) ? int(now.bottom - now.top) : place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (entry->label) {
            const Rect label = AnchoredRect(
                entry->labelPlaced,
                entry->layout->anchors & (kAnchorLeft | kAnchorRight)
                    ? kAnchorLeft | (entry->layout->anchors & (kAnchorTop | kAnchorBottom))
                    : entry->layout->anchors,
                designedClient_, actual);
            const int shift = place.left - entry->placed.left;
            SetWindowPos(entry->label, nullptr, entry->labelPlaced.left + shift, label.top,
                         label.width, label.height, SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

int Form::ShowModal(HWND owner) {
    if (mode_ == Mode::Modal && window_ && IsWindowVisible(window_)) {
        throw std::logic_error("the form is already shown modally");
    }
    if (layout_.frame == FormFrame::Child) {
        throw std::logic_error("a child form cannot be shown modally");
    }
    const HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (!window_) {
        Build(root, Mode::Modal);
    }
    mode_ = Mode::Modal;
    modalResult_ = kModalNone;
    OnShow();

    ++messageDepth_;  // the form stays whole while its loop runs
    const bool disabledOwner = root && IsWindowEnabled(root);
    if (disabledOwner) {
        EnableWindow(root, FALSE);
    }
    ShowWindow(window_, SW_SHOW);
    SetActiveWindow(window_);
    if (HWND first = GetNextDlgTabItem(window_, nullptr, FALSE)) {
        SetFocus(first);
    }
    while (window_) {
        if (modalResult_ != kModalNone) {
            CloseAction action = CloseAction::Hide;
            try {
                action = OnClose();
            } catch (...) {
                ShowCurrentException(window_);
            }
            if (action != CloseAction::None) {
                break;
            }
            modalResult_ = kModalNone;
            continue;
        }
        MSG message{};
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            // The thread is ending: leave the quit for the outer loop.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        if (!window_ || !IsDialogMessageW(window_, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    // The owner is enabled before the dialog hides, so that it gets the activation back.
    if (disabledOwner) {
        EnableWindow(root, TRUE);
    }
    if (window_) {
        ShowWindow(window_, SW_HIDE);
    }
    const int result = modalResult_ == kModalNone ? kModalCancel : modalResult_;
    modalResult_ = result;
    if (--messageDepth_ == 0 && deletePending_) {
        delete this;
    }
    return result;
}

void Form::Close() {
    if (!window_) {
        return;
    }
    if (mode_ == Mode::Modal && IsWindowVisible(window_)) {
        if (modalResult_ == kModalNone) {
            modalResult_ = kModalCancel;
        }
        return;
    }
    RunCloseRequest();
}

void Form::RunCloseRequest() {
    switch (OnClose()) {
        case CloseAction::None:
            break;
        case CloseAction::Hide:
            ShowWindow(window_, SW_HIDE);
            break;
        case CloseAction::Free:
            Release();
            break;
    }
}

CloseAction Form::OnClose() {
    return CloseAction::Hide;
}

bool Form::OnMessage(UINT, WPARAM, LPARAM) {
    return false;
}

void Form::Release() {
    if (!releasePosted_) {
        releasePosted_ = PostMessageW(window_, ReleaseMessage(), 0, 0) != FALSE;
        if (!releasePosted_) {
            throw std::runtime_error("cannot post the release of a form");
        }
    }
}

void Form::Destroy() noexcept {
    if (window_) {
        DestroyWindow(window_);
    }
}

void Form::PostPrivate(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message < WM_USER || message > 0xBFFF) {
        throw std::invalid_argument("a private message lies between WM_USER and 0xBFFF");
    }
    if (!window_ || !PostMessageW(window_, message, wParam, lParam)) {
        throw std::runtime_error("cannot post a message to the form");
    }
}

void Form::Bind(std::string_view control, Event event, Handler handler) {
    auto layout = std::find_if(layout_.controls.begin(), layout_.controls.end(),
                               [&](const ControlLayout& c) { return c.name == control; });
    if (layout == layout_.controls.end()) {
        throw std::invalid_argument("no control named " + std::string(control) + " to bind");
    }
    if (!RaisesEvent(layout->kind, event)) {
        throw std::invalid_argument("control " + std::string(control) +
                                    " raises no event of that kind");
    }
    handlers_[std::string(control)][event] = std::move(handler);
}

void Form::ShowMessage(std::u16string_view text) const {
    ui::ShowMessage(window_, text);
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
    Form* form = nullptr;
    if (message == WM_NCCREATE) {
        form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        form->window_ = window;
        detail::CountFormWindow(+1);
    } else {
        form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!form) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    ++form->messageDepth_;
    LRESULT result = 0;
    try {
        result = form->Handle(message, wParam, lParam);
    } catch (...) {
        ShowCurrentException(window);
    }
    form->AfterMessage();
    return result;
}

void Form::AfterMessage() noexcept {
    if (--messageDepth_ == 0 && deletePending_) {
        delete this;
    }
}

void Form::OnWindowGone() noexcept {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    window_ = nullptr;
    tooltips_ = nullptr;
    for (auto& entry : controls_) {
        entry->window = nullptr;
        entry->label = nullptr;
    }
    font_.reset();
    detail::CountFormWindow(-1);
    if (ownsItself_) {
        deletePending_ = true;
    }
}

LRESULT Form::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            return HandleCommand(wParam, lParam);
        case WM_NOTIFY:
            HandleNotify(*reinterpret_cast<const NMHDR*>(lParam));
            return 0;
        case WM_DRAWITEM:
            return HandleDrawItem(wParam, lParam);
        case WM_SIZE:
            HandleSize(wParam, lParam);
            return 0;
        case WM_CLOSE:
            Close();
            return 0;
        case WM_DESTROY:
            HandleDestroy();
            return 0;
        case WM_NCDESTROY:
            OnWindowGone();
            return 0;
        default:
            break;
    }
    if (message == ReleaseMessage()) {
        DestroyWindow(window_);
        return 0;
    }
    if (message >= WM_USER && message <= 0xBFFF) {
        return HandlePrivateMessage(message, wParam, lParam);
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT Form::HandleCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (const BuiltControl* control = EntryById(id)) {
        FireNotification(*control, WM_COMMAND, HIWORD(wParam));
        return 0;
    }
    if (lParam == 0 && (id == IDOK || id == IDCANCEL)) {
        PressDialogKey(id);
        return 0;
    }
    return DefWindowProcW(window_, WM_COMMAND, wParam, lParam);
}

void Form::HandleNotify(const NMHDR& header) {
    if (const BuiltControl* control = EntryByWindow(header.hwndFrom)) {
        FireNotification(*control, WM_NOTIFY, header.code);
    }
}

void Form::FireNotification(const BuiltControl& control, UINT message, UINT code) {
    const ControlNotification* notification = FindNotification(control.layout->kind, message, code);
    if (!notification) {
        return;
    }
    if (notification->event == Event::Click) {
        FireClick(control);
        return;
    }
    if (notification->showsPickedEntry) {
        const LRESULT index = SendMessageW(control.window, CB_GETCURSEL, 0, 0);
        if (index != CB_ERR) {
            SetWindowTextW(control.window,
                           Wide(ComboItem(control.layout->name, static_cast<int>(index))));
        }
    }
    Fire(control, notification->event);
}

// Enter (IDOK) or Escape (IDCANCEL) from the dialog navigation: the default
// or cancel control is clicked; Escape with neither closes a modal form.
void Form::PressDialogKey(int id) {
    for (const auto& control : controls_) {
        const bool chosen = id == IDOK ? control->layout->isDefault : control->layout->isCancel;
        if (chosen && IsWindowEnabled(control->window)) {
            FireClick(*control);
            return;
        }
    }
    if (id == IDCANCEL && mode_ == Mode::Modal) {
        Close();
    }
}

LRESULT Form::HandleDrawItem(WPARAM wParam, LPARAM lParam) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const BuiltControl* control = EntryByWindow(item.hwndItem);
    if (!control || control->layout->kind != ControlKind::ImageButton) {
        return DefWindowProcW(window_, WM_DRAWITEM, wParam, lParam);
    }
    try {
        ui::DrawImageButton(*control->layout, item);
    } catch (...) {
        // Shown once: every repaint would fail again, and a box per repaint
        // would never let the user go.
        if (!paintFailureShown_) {
            paintFailureShown_ = true;
            ShowCurrentException(window_);
        }
    }
    return TRUE;
}

void Form::HandleSize(WPARAM wParam, LPARAM lParam) {
    if (!controls_.empty() && wParam != SIZE_MINIMIZED) {
        LayOutForClientSize({LOWORD(lParam), HIWORD(lParam)});
    }
}

void Form::HandleDestroy() {
    if (!destroyNotified_) {
        destroyNotified_ = true;
        try {
            OnDestroy();
        } catch (...) {
            ShowCurrentException(window_);
        }
    }
    for (const auto& control : controls_) {
        RemoveControlProperties(*control);
    }
    if (tooltips_) {
        DestroyWindow(tooltips_);
        tooltips_ = nullptr;
    }
}

LRESULT Form::HandlePrivateMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (OnMessage(message, wParam, lParam)) {
        return 0;
    }
    if (message == DM_GETDEFID && mode_ == Mode::Modal) {
        for (const auto& control : controls_) {
            if (control->layout->isDefault) {
                return MAKELRESULT(control->id, DC_HASDEFID);
            }
        }
        return 0;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void Form::FireClick(const BuiltControl& control) {
    // Nobody can click a disabled control; a message that says otherwise is ignored.
    if (!IsWindowEnabled(control.window)) {
        return;
    }
    if (control.layout->modalResult != kModalNone) {
        modalResult_ = control.layout->modalResult;
    }
    Fire(control, Event::Click);
}

void Form::Fire(const BuiltControl& control, Event event) {
    auto byControl = handlers_.find(control.layout->name);
    if (byControl == handlers_.end()) {
        return;
    }
    auto handler = byControl->second.find(event);
    if (handler != byControl->second.end() && handler->second) {
        // A copy: the handler may rebind its own control.
        Handler run = handler->second;
        run();
    }
}

const BuiltControl* Form::EntryById(int id) const noexcept {
    for (const auto& control : controls_) {
        if (control->id == id) {
            return control.get();
        }
    }
    return nullptr;
}

const BuiltControl* Form::EntryByWindow(HWND window) const noexcept {
    for (const auto& control : controls_) {
        if (control->window == window) {
            return control.get();
        }
    }
    return nullptr;
}

BuiltControl& Form::Entry(std::string_view name) const {
    for (const auto& control : controls_) {
        if (control->layout->name == name && control->window) {
            return *control;
        }
    }
    throw std::invalid_argument("form " + kavrel::WideToUtf8(layout_.typeName) +
                                " has no control window named " + std::string(name));
}

HWND Form::Control(std::string_view name) const {
    return Entry(name).window;
}

}  // namespace ui
