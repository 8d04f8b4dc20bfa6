#include "tests/support/window_finder.h"

#include "base/wide.h"

namespace kavrel::testing {

namespace {

struct Search {
    std::wstring className;
    std::wstring property;
    HWND found = nullptr;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    if (ClassNameOf(window) == search.className) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK MatchProperty(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<Search*>(context);
    if (GetPropW(window, search.property.c_str()) != nullptr) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindThreadWindow(const std::wstring& className) {
    Search search{className, {}, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChildByClass(HWND root, const std::wstring& className) {
    Search search{className, {}, nullptr};
    EnumChildWindows(root, MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindControl(HWND form, const std::string& name) {
    Search search{{}, L"kavrel:" + Utf8ToWindows(name), nullptr};
    EnumChildWindows(form, MatchProperty, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256] = {};
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring TextOf(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

RECT RectInParent(HWND window) {
    RECT place{};
    GetWindowRect(window, &place);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

}  // namespace kavrel::testing
