#include "ui/form_control.h"

#include <commctrl.h>

#include <stdexcept>

#include "base/gdi.h"
#include "base/module.h"
#include "base/utf8.h"
#include "base/wide.h"
#include "ui/control_kinds.h"
#include "ui/form_window_class.h"

namespace ui {

using kavrel::Wide;

namespace {

// Space between a labelled edit and its label, 96-dpi pixels.
constexpr int kLabelSpacing = 3;
// Height of the open list of a combo box, 96-dpi pixels.
constexpr int kComboListHeight = 160;
// The room an edit keeps between its frame and its text on either side.
// Fixed, not taken from the font: the system's choice for a font differs
// between Windows versions and Wine (up to 4 pixels), and the designed edits
// are only as wide as their texts need.
constexpr int kEditMargin = 1;

struct WindowKind {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

WindowKind KindOf(const ControlLayout& layout) {
    switch (layout.kind) {
        case ControlKind::PushButton:
            return {L"BUTTON", DWORD(layout.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON), 0};
        case ControlKind::ImageButton:
            return {L"BUTTON", BS_OWNERDRAW, 0};
        case ControlKind::Edit:
        case ControlKind::LabelledEdit:
            return {L"EDIT", DWORD(ES_AUTOHSCROLL | (layout.readOnly ? ES_READONLY : 0)),
                    WS_EX_CLIENTEDGE};
        case ControlKind::Label:
            return {L"STATIC", SS_LEFT | SS_NOPREFIX, 0};
        case ControlKind::CheckBox:
            return {L"BUTTON", BS_AUTOCHECKBOX, 0};
        case ControlKind::ComboDropDown:
            return {L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0};
        case ControlKind::ComboList:
            return {L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
        case ControlKind::TreeView:
            return {WC_TREEVIEWW,
                    TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                    WS_EX_CLIENTEDGE};
        case ControlKind::Memo:
            return {L"EDIT",
                    DWORD(ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN |
                          WS_VSCROLL | WS_HSCROLL | (layout.readOnly ? ES_READONLY : 0)),
                    WS_EX_CLIENTEDGE};
        case ControlKind::ProgressBar:
            return {PROGRESS_CLASSW, 0, 0};
    }
    throw std::logic_error("unknown control kind");
}

// The size the text takes in the form's font.
SIZE TextExtent(HFONT font, const std::u16string& text) {
    kavrel::WindowDC screen(nullptr);
    kavrel::SelectedObject selected(screen.get(), font);
    RECT area{0, 0, 0, 0};
    const std::u16string measured = text.empty() ? u" " : text;
    DrawTextW(screen.get(), Wide(measured), -1, &area, DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    return {text.empty() ? 0 : area.right - area.left, area.bottom - area.top};
}

HWND CreateChildWindow(const wchar_t* className, DWORD style, DWORD exStyle,
                       const std::u16string& text, const Rect& place, int height, HWND form, int id,
                       HFONT font) {
    HWND window = CreateWindowExW(exStyle, className, Wide(text), WS_CHILD | WS_VISIBLE | style,
                                  place.left, place.top, place.width, height, form,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  kavrel::CodeModule(), nullptr);
    if (!window) {
        throw std::runtime_error("cannot create a window of class " +
                                 kavrel::WideToUtf8(reinterpret_cast<const char16_t*>(className)));
    }
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return window;
}

void SetNameProperty(HWND window, const std::wstring& property) {
    if (!SetPropW(window, property.c_str(), reinterpret_cast<HANDLE>(1))) {
        throw std::runtime_error("cannot name a control window");
    }
}

// Tab and Shift+Tab move the focus through the form's tab sequence when no
// dialog loop does it: a docked panel or a modeless window runs in the host's
// message loop, which knows nothing of our forms. In a modal form the loop's
// IsDialogMessage takes the key before the control sees it.
LRESULT CALLBACK TabNavigation(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR formWindow) noexcept {
    if (message == WM_KEYDOWN && wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) == 0) {
        const HWND form = reinterpret_cast<HWND>(formWindow);
        // The edit inside a combo box stands for the combo box.
        const HWND control = GetParent(window) == form ? window : GetParent(window);
        const bool backwards = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        if (HWND next = GetNextDlgTabItem(form, control, backwards)) {
            SetFocus(next);
        }
        return 0;
    }
    if (message == WM_CHAR && wParam == L'\t') {
        return 0;  // neither a tab character nor a beep
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, TabNavigation, id);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void InstallTabNavigation(HWND control, HWND form) {
    constexpr UINT_PTR kSubclassId = 1;
    const auto formWindow = reinterpret_cast<DWORD_PTR>(form);
    if (!SetWindowSubclass(control, TabNavigation, kSubclassId, formWindow)) {
        throw std::runtime_error("cannot give a control tab navigation");
    }
    for (HWND inner = GetWindow(control, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT)) {
        if (!SetWindowSubclass(inner, TabNavigation, kSubclassId, formWindow)) {
            throw std::runtime_error("cannot give a control tab navigation");
        }
    }
}

}  // namespace

std::wstring ControlPropertyName(const std::string& controlName) {
    return L"kavrel:" + std::wstring(controlName.begin(), controlName.end());
}

std::wstring LabelPropertyName(const std::string& controlName) {
    return ControlPropertyName(controlName) + L".EditLabel";
}

void CreateControlWindow(BuiltControl& entry, HWND form, HFONT font, int dpi) {
    const ControlLayout& layout = *entry.layout;
    const WindowKind kind = KindOf(layout);
    entry.placed = ScaleToDpi(layout.rect, dpi);

    if (layout.kind == ControlKind::Label && (layout.rect.width == 0 || layout.rect.height == 0)) {
        const SIZE text = TextExtent(font, layout.caption);
        entry.placed.width = text.cx;
        entry.placed.height = text.cy;
    }
    if (layout.kind == ControlKind::LabelledEdit) {
        // The label stands to the left of the edit, centred on its height.
        const SIZE text = TextExtent(font, layout.caption);
        entry.labelPlaced = {entry.placed.left - ScaleToDpi(kLabelSpacing, dpi) - text.cx,
                             entry.placed.top + (entry.placed.height - text.cy) / 2, text.cx,
                             text.cy};
        entry.label = CreateChildWindow(L"STATIC", SS_LEFT | SS_NOPREFIX, 0, layout.caption,
                                        entry.labelPlaced, entry.labelPlaced.height, form, 0, font);
        SetNameProperty(entry.label, LabelPropertyName(layout.name));
    }

    const std::u16string text = layout.kind == ControlKind::LabelledEdit ||
                                        layout.kind == ControlKind::ImageButton ||
                                        layout.kind == ControlKind::ComboList
                                    ? std::u16string()
                                    : layout.caption;
    const DWORD tabStop = layout.tabOrder >= 0 ? WS_TABSTOP : 0;
    const int height = IsComboBox(layout.kind)
                           ? entry.placed.height + ScaleToDpi(kComboListHeight, dpi)
                           : entry.placed.height;
    entry.window = CreateChildWindow(kind.className, kind.style | tabStop, kind.exStyle, text,
                                     entry.placed, height, form, entry.id, font);
    SetNameProperty(entry.window, ControlPropertyName(layout.name));

    if (IsComboBox(layout.kind)) {
        // The closed box takes the designed height: the selection field is
        // that height less the box's frame. Each try corrects the height last
        // asked for by what the box measures beyond the design. The field's
        // own report is only the first guess: Wine's box reports 2 more than
        // it was set to, and correcting from the report never converges.
        LRESULT field = SendMessageW(entry.window, CB_GETITEMHEIGHT, WPARAM(-1), 0);
        for (int attempt = 0; attempt < 3; ++attempt) {
            RECT closed{};
            GetWindowRect(entry.window, &closed);
            const int excess = (closed.bottom - closed.top) - entry.placed.height;
            if (excess == 0) {
                break;
            }
            field -= excess;
            SendMessageW(entry.window, CB_SETITEMHEIGHT, WPARAM(-1), field);
        }
        for (const std::u16string& item : layout.items) {
            SendMessageW(entry.window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item)));
        }
    }
    if (layout.tabOrder >= 0) {
        InstallTabNavigation(entry.window, form);
    }
    if (layout.kind == ControlKind::Edit || layout.kind == ControlKind::LabelledEdit) {
        const int margin = ScaleToDpi(kEditMargin, dpi);
        SendMessageW(entry.window, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(margin, margin));
    }
    if (layout.kind == ControlKind::TreeView && layout.treeIndent > 0) {
        SendMessageW(entry.window, TVM_SETINDENT, ScaleToDpi(layout.treeIndent, dpi), 0);
    }
}

void RemoveControlProperties(const BuiltControl& entry) noexcept {
    try {
        if (entry.window) {
            RemovePropW(entry.window, ControlPropertyName(entry.layout->name).c_str());
        }
        if (entry.label) {
            RemovePropW(entry.label, LabelPropertyName(entry.layout->name).c_str());
        }
    } catch (...) {
        // Only the property names could not be made; the system drops the
        // properties with the windows.
    }
}

void DrawImageButton(const ControlLayout& layout, const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT area = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool enabled = (item.itemState & ODS_DISABLED) == 0;
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    DrawEdge(dc, &area, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    if (layout.painter) {
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
        try {
            layout.painter(dc, area, pressed, enabled);
        } catch (...) {
            RestoreDC(dc, saved);
            throw;
        }
        RestoreDC(dc, saved);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = area;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace ui
