#include "host/session/form_driver.h"

#include <commctrl.h>

#include <cstring>
#include <exception>
#include <utility>

#include "base/wide.h"
#include "host/session/session_error.h"

namespace kavrel::host {
namespace {

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// The windows an enumeration met. The callback lets no exception into the
// system's frames: a failure stops the enumeration and is raised after it.
struct CollectedWindows {
    std::vector<HWND> windows;
    std::exception_ptr failure;

    std::vector<HWND> Take() {
        if (failure) {
            std::rethrow_exception(failure);
        }
        return std::move(windows);
    }
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) noexcept {
    auto& collected = *reinterpret_cast<CollectedWindows*>(list);
    try {
        collected.windows.push_back(window);
        return TRUE;
    } catch (...) {
        collected.failure = std::current_exception();
        return FALSE;
    }
}

std::vector<HWND> Descendants(HWND parent) {
    CollectedWindows out;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&out));
    return out.Take();
}

// The control's parent gets the notification a user's change produces.
void Notify(HWND control, WORD code) {
    SendMessageW(GetParent(control), WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
                 reinterpret_cast<LPARAM>(control));
}

// A press and its release. Controls such as the tree view track the mouse in a
// loop of their own until the button goes up, so the release is queued first.
void PressMouse(HWND control, UINT press, LPARAM point) {
    PostMessageW(control, WM_LBUTTONUP, 0, point);
    SendMessageW(control, press, MK_LBUTTON, point);
    MSG message;
    while (PeekMessageW(&message, control, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

}  // namespace

std::wstring WindowClass(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::vector<HWND> ThreadTopWindows() {
    CollectedWindows out;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&out));
    return out.Take();
}

std::vector<HWND> AllThreadWindows() {
    std::vector<HWND> out;
    for (HWND top : ThreadTopWindows()) {
        out.push_back(top);
        for (HWND child : Descendants(top)) {
            out.push_back(child);
        }
    }
    return out;
}

HWND FindForm(const std::wstring& type_name, HWND scope) {
    std::vector<HWND> candidates;
    auto consider = [&](HWND window) {
        if (WindowClass(window) == type_name) {
            candidates.push_back(window);
        }
    };
    auto search = [&](HWND top) {
        consider(top);
        for (HWND child : Descendants(top)) {
            consider(child);
        }
    };
    if (scope) {
        search(scope);
    }
    if (candidates.empty()) {
        for (HWND top : ThreadTopWindows()) {
            search(top);
        }
    }
    if (candidates.empty()) {
        throw StepFailure("no form " + WideToUtf8(type_name));
    }
    for (HWND window : candidates) {
        if (IsWindowVisible(window)) {
            return window;
        }
    }
    return candidates.front();
}

HWND FindControl(HWND form, const std::wstring& name, const std::string& form_name) {
    const std::wstring property = L"kavrel:" + name;
    for (HWND child : Descendants(form)) {
        if (GetPropW(child, property.c_str())) {
            return child;
        }
    }
    throw StepFailure("form " + form_name + " has no control " + WideToUtf8(name));
}

void SetControlText(HWND control, const std::wstring& text) {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // An edit notifies its form itself; typing into an editable combo box is
    // told to the form as the combo's own edit change.
    const std::wstring kind = WindowClass(control);
    if (kind == L"ComboBox" || kind == L"COMBOBOX") {
        Notify(control, CBN_EDITCHANGE);
    } else if (kind != L"Edit" && kind != L"EDIT") {
        Notify(control, EN_CHANGE);
    }
}

void SetChecked(HWND control, bool checked) {
    SendMessageW(control, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    Notify(control, BN_CLICKED);
}

void ChooseItem(HWND control, int index) {
    const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
    if (index < 0 || index >= count) {
        throw StepFailure("combo box item " + std::to_string(index) +
                          " does not exist (items: " + std::to_string(count) + ")");
    }
    SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(control, CBN_SELCHANGE);
}

void SelectTreeNode(HWND control, const std::vector<std::wstring>& path) {
    HTREEITEM item = nullptr;
    HTREEITEM level =
        reinterpret_cast<HTREEITEM>(SendMessageW(control, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    std::string walked;
    for (const std::wstring& text : path) {
        item = nullptr;
        for (HTREEITEM candidate = level; candidate;
             candidate = reinterpret_cast<HTREEITEM>(SendMessageW(
                 control, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(candidate)))) {
            wchar_t buffer[512] = {};
            TVITEMW tv{};
            tv.mask = TVIF_TEXT | TVIF_HANDLE;
            tv.hItem = candidate;
            tv.pszText = buffer;
            tv.cchTextMax = 512;
            SendMessageW(control, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
            if (text == buffer) {
                item = candidate;
                break;
            }
        }
        walked += "/" + WideToUtf8(text);
        if (!item) {
            throw StepFailure("tree has no node " + walked);
        }
        SendMessageW(control, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        level = reinterpret_cast<HTREEITEM>(
            SendMessageW(control, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    }
    if (!item) {
        throw StepFailure("empty tree path");
    }
    SendMessageW(control, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

void ClickControl(HWND control) {
    if (!IsWindowEnabled(control)) {
        throw StepFailure("the control is disabled");
    }
    const std::wstring kind = WindowClass(control);
    if (kind == L"Button" || kind == L"BUTTON") {
        SendMessageW(control, BM_CLICK, 0, 0);
        return;
    }
    RECT rect;
    GetClientRect(control, &rect);
    PressMouse(control, WM_LBUTTONDOWN, MAKELPARAM(rect.right / 2, rect.bottom / 2));
}

void DoubleClickControl(HWND control) {
    if (!IsWindowEnabled(control)) {
        throw StepFailure("the control is disabled");
    }
    RECT rect;
    GetClientRect(control, &rect);
    LPARAM point = MAKELPARAM(rect.right / 2, rect.bottom / 2);
    if (WindowClass(control) == WC_TREEVIEWW) {
        // On the selected node, where a user double-clicks it.
        auto item =
            reinterpret_cast<HTREEITEM>(SendMessageW(control, TVM_GETNEXTITEM, TVGN_CARET, 0));
        if (!item) {
            throw StepFailure("double click on a tree without a selected node");
        }
        RECT item_rect{};
        // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
        std::memcpy(&item_rect, &item, sizeof item);
        if (SendMessageW(control, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&item_rect))) {
            point = MAKELPARAM((item_rect.left + item_rect.right) / 2,
                               (item_rect.top + item_rect.bottom) / 2);
        }
    }
    PressMouse(control, WM_LBUTTONDOWN, point);
    PressMouse(control, WM_LBUTTONDBLCLK, point);
}

void CloseForm(HWND form) {
    SendMessageW(form, WM_CLOSE, 0, 0);
}

bool IsMessageBoxWindow(HWND window) {
    return WindowClass(window) == L"#32770";
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child : Descendants(box)) {
        const std::wstring kind = WindowClass(child);
        if ((kind == L"Static" || kind == L"STATIC") &&
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) {
            const std::wstring part = WindowText(child);
            if (!part.empty()) {
                if (!text.empty()) {
                    text += L"\n";
                }
                text += part;
            }
        }
    }
    return text;
}

}  // namespace kavrel::host
