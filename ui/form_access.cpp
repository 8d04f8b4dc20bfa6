// Reading and changing the controls of a form by their design names.
#include "ui/form.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>

#include "base/wide.h"
#include "ui/control_kinds.h"
#include "ui/form_control.h"

namespace ui {

using kavrel::Wide;

namespace {

std::u16string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void Require(bool condition, std::string_view control, const char* what) {
    if (!condition) {
        throw std::invalid_argument("control " + std::string(control) + " is not " + what);
    }
}

int ComboCountOf(HWND combo) {
    return static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
}

}  // namespace

std::u16string Form::Text(std::string_view control) const {
    return WindowText(Control(control));
}

void Form::SetText(std::string_view control, std::u16string_view text) {
    const std::u16string copy(text);
    if (!SetWindowTextW(Control(control), Wide(copy))) {
        throw std::runtime_error("cannot set the text of " + std::string(control));
    }
}

bool Form::Checked(std::string_view control) const {
    return SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(std::string_view control, bool checked) {
    SendMessageW(Control(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Form::Enabled(std::string_view control) const {
    return IsWindowEnabled(Control(control));
}

void Form::SetEnabled(std::string_view control, bool enabled) {
    const BuiltControl& entry = Entry(control);
    EnableWindow(entry.window, enabled);
    if (entry.label) {
        EnableWindow(entry.label, enabled);
    }
}

void Form::ComboClear(std::string_view control) {
    Require(IsComboBox(Entry(control).layout->kind), control, "a combo box");
    SendMessageW(Control(control), CB_RESETCONTENT, 0, 0);
}

void Form::ComboAdd(std::string_view control, std::u16string_view item) {
    Require(IsComboBox(Entry(control).layout->kind), control, "a combo box");
    const std::u16string copy(item);
    const LRESULT index =
        SendMessageW(Control(control), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(copy)));
    if (index == CB_ERR || index == CB_ERRSPACE) {
        throw std::runtime_error("cannot add an entry to " + std::string(control));
    }
}

int Form::ComboCount(std::string_view control) const {
    Require(IsComboBox(Entry(control).layout->kind), control, "a combo box");
    return ComboCountOf(Control(control));
}

std::u16string Form::ComboItem(std::string_view control, int index) const {
    const HWND combo = Control(control);
    Require(IsComboBox(Entry(control).layout->kind), control, "a combo box");
    if (index < 0 || index >= ComboCountOf(combo)) {
        throw std::out_of_range("no entry " + std::to_string(index) + " in " +
                                std::string(control));
    }
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const LRESULT copied =
        SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(copied, 0)));
    return text;
}

int Form::ComboIndex(std::string_view control) const {
    Require(IsComboBox(Entry(control).layout->kind), control, "a combo box");
    const LRESULT index = SendMessageW(Control(control), CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : static_cast<int>(index);
}

void Form::SetComboIndex(std::string_view control, int index) {
    const HWND combo = Control(control);
    Require(IsComboBox(Entry(control).layout->kind), control, "a combo box");
    if (index < -1 || index >= ComboCountOf(combo)) {
        throw std::out_of_range("no entry " + std::to_string(index) + " in " +
                                std::string(control));
    }
    SendMessageW(combo, CB_SETCURSEL, index, 0);
}

HTREEITEM Form::TreeAdd(std::string_view control, HTREEITEM parent, std::u16string_view text,
                        LPARAM data) {
    Require(Entry(control).layout->kind == ControlKind::TreeView, control, "a tree view");
    std::u16string copy(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent ? parent : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = reinterpret_cast<wchar_t*>(copy.data());
    insert.item.lParam = data;
    const auto item = reinterpret_cast<HTREEITEM>(
        SendMessageW(Control(control), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!item) {
        throw std::runtime_error("cannot add a node to " + std::string(control));
    }
    return item;
}

void Form::TreeClear(std::string_view control) {
    Require(Entry(control).layout->kind == ControlKind::TreeView, control, "a tree view");
    SendMessageW(Control(control), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

HTREEITEM Form::TreeSelection(std::string_view control) const {
    Require(Entry(control).layout->kind == ControlKind::TreeView, control, "a tree view");
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(Control(control), TVM_GETNEXTITEM, TVGN_CARET, 0));
}

void Form::TreeSelect(std::string_view control, HTREEITEM item) {
    Require(Entry(control).layout->kind == ControlKind::TreeView, control, "a tree view");
    SendMessageW(Control(control), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
}

int Form::TreeLevel(std::string_view control, HTREEITEM item) const {
    const HWND tree = Control(control);
    int level = 0;
    for (HTREEITEM up = item;;) {
        up = reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(up)));
        if (!up) {
            return level;
        }
        ++level;
    }
}

LPARAM Form::TreeData(std::string_view control, HTREEITEM item) const {
    TVITEMW data{};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (!SendMessageW(Control(control), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) {
        throw std::invalid_argument("no such node in " + std::string(control));
    }
    return data.lParam;
}

std::vector<HTREEITEM> Form::TreeChildren(std::string_view control, HTREEITEM item) const {
    const HWND tree = Control(control);
    std::vector<HTREEITEM> children;
    auto child = reinterpret_cast<HTREEITEM>(SendMessageW(
        tree, TVM_GETNEXTITEM, item ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(item)));
    while (child) {
        children.push_back(child);
        child = reinterpret_cast<HTREEITEM>(
            SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    }
    return children;
}

std::vector<HTREEITEM> Form::TreeItemsInOrder(std::string_view control) const {
    Require(Entry(control).layout->kind == ControlKind::TreeView, control, "a tree view");
    std::vector<HTREEITEM> order;
    std::vector<HTREEITEM> pending = TreeChildren(control, nullptr);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        HTREEITEM item = pending.back();
        pending.pop_back();
        order.push_back(item);
        std::vector<HTREEITEM> children = TreeChildren(control, item);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return order;
}

void Form::SetProgress(std::string_view control, int position, int maximum) {
    Require(Entry(control).layout->kind == ControlKind::ProgressBar, control, "a progress bar");
    SendMessageW(Control(control), PBM_SETRANGE32, 0, maximum);
    SendMessageW(Control(control), PBM_SETPOS, position, 0);
}

}  // namespace ui
