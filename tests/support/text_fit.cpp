#include "tests/support/text_fit.h"

#include <commctrl.h>

#include <string>
#include <string_view>

#include "base/gdi.h"
#include "base/wide.h"
#include "tests/support/window_finder.h"

namespace kavrel::testing {
namespace {

// The size `text` takes in the control's font, on one line.
SIZE Extent(HWND control, const std::wstring& text, bool prefixes) {
    WindowDC dc(control);
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    SelectedObject selected(dc.get(),
                            font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    RECT area{0, 0, 0, 0};
    DrawTextW(dc.get(), text.c_str(), -1, &area,
              DT_CALCRECT | DT_SINGLELINE | (prefixes ? 0 : DT_NOPREFIX));
    return {area.right - area.left, area.bottom - area.top};
}

// Shown by its own style: a docked form's host window may itself be hidden.
bool Shown(HWND window) {
    return (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// Stops at the property that carries the design name and keeps the name. A
// window-manager callback: stdcall on x86, and nothing may escape it.
BOOL CALLBACK TakeDesignName(HWND, LPWSTR property, HANDLE, ULONG_PTR out) noexcept {
    if (IS_INTRESOURCE(property) || std::wstring_view(property).rfind(L"kavrel:", 0) != 0) {
        return TRUE;
    }
    try {
        *reinterpret_cast<std::wstring*>(out) = property + 7;
    } catch (...) {
    }
    return FALSE;
}

// The design name the forms layer gives a control ("kavrel:<name>"), else its class.
std::string NameOf(HWND control) {
    std::wstring name;
    EnumPropsExW(control, TakeDesignName, reinterpret_cast<LPARAM>(&name));
    return WideToUtf8(name.empty() ? ClassNameOf(control) : name);
}

class Checker {
  public:
    explicit Checker(HWND form) : form_(form) { GetClientRect(form, &form_area_); }

    void Check(HWND control) {
        const std::wstring kind = ClassNameOf(control);
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        RECT client{};
        GetClientRect(control, &client);
        if (kind == L"Static") {
            CheckLabel(control, style, client);
        } else if (kind == L"Edit" && !(style & ES_MULTILINE)) {
            // The formatting rectangle: the client area less the edit's margins.
            RECT format{};
            SendMessageW(control, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
            CheckText(control, TextOf(control), Width(format), Height(client), false);
        } else if (kind == L"Button") {
            CheckButton(control, style & BS_TYPEMASK, client);
        } else if (kind == L"ComboBox") {
            CheckCombo(control);
        }
    }

    std::vector<std::string> problems;

  private:
    void CheckText(HWND control, const std::wstring& text, int room, int height, bool prefixes) {
        if (text.empty()) {
            return;
        }
        const SIZE size = Extent(control, text, prefixes);
        if (size.cx > room || size.cy > height) {
            problems.push_back(NameOf(control) + " \"" + WideToUtf8(text) +
                               "\": " + std::to_string(size.cx) + "x" + std::to_string(size.cy) +
                               " px of text in " + std::to_string(room) + "x" +
                               std::to_string(height));
        }
    }

    void CheckLabel(HWND control, LONG style, const RECT& client) {
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE) {
            return;
        }
        CheckText(control, TextOf(control), Width(client), Height(client), !(style & SS_NOPREFIX));
        // The whole label inside the form, over no other control.
        const RECT place = RectInParent(control);
        if (place.left < form_area_.left || place.top < form_area_.top ||
            place.right > form_area_.right || place.bottom > form_area_.bottom) {
            problems.push_back(NameOf(control) + " \"" + WideToUtf8(TextOf(control)) +
                               "\" reaches out of the form: " + Describe(place));
        }
        for (HWND other = GetWindow(form_, GW_CHILD); other;
             other = GetWindow(other, GW_HWNDNEXT)) {
            RECT overlap{};
            const RECT other_place = RectInParent(other);
            if (other != control && Shown(other) &&
                IntersectRect(&overlap, &place, &other_place)) {
                problems.push_back(NameOf(control) + " \"" + WideToUtf8(TextOf(control)) +
                                   "\" runs into " + NameOf(other) + ": " + Describe(place) +
                                   " and " + Describe(other_place));
            }
        }
    }

    void CheckButton(HWND control, LONG type, const RECT& client) {
        const int dpi_edge = GetSystemMetrics(SM_CXEDGE);
        switch (type) {
            case BS_PUSHBUTTON:
            case BS_DEFPUSHBUTTON:
                // Inside the button's raised frame.
                CheckText(control, TextOf(control), Width(client) - 2 * dpi_edge,
                          Height(client) - 2 * dpi_edge, true);
                break;
            case BS_CHECKBOX:
            case BS_AUTOCHECKBOX:
                // Beside the box and the gap after it.
                CheckText(control, TextOf(control),
                          Width(client) - GetSystemMetrics(SM_CXMENUCHECK) - 2 * dpi_edge,
                          Height(client), true);
                break;
            default:
                break;  // pictures
        }
    }

    void CheckCombo(HWND control) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (!GetComboBoxInfo(control, &info)) {
            problems.push_back(NameOf(control) + ": no combo box information");
            return;
        }
        const LRESULT count = SendMessageW(control, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring item(
                static_cast<std::size_t>(SendMessageW(control, CB_GETLBTEXTLEN, i, 0)), L'\0');
            SendMessageW(control, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
            CheckText(control, item, Width(info.rcItem), Height(info.rcItem), false);
        }
    }

    static std::string Describe(const RECT& r) {
        return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
               std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
    }

    HWND form_;
    RECT form_area_{};
};

}  // namespace

std::vector<std::string> TextThatDoesNotFit(HWND form) {
    Checker checker(form);
    for (HWND control = GetWindow(form, GW_CHILD); control;
         control = GetWindow(control, GW_HWNDNEXT)) {
        if (Shown(control)) {
            checker.Check(control);
        }
    }
    return checker.problems;
}

}  // namespace kavrel::testing
