// Finds the add-on's forms and controls from outside, with the Win32 API only:
// a form by its window class (its type name), a control by its window
// property "kavrel:<design name>".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kavrel::testing {

// A visible or hidden top-level window of this thread with that class, or null.
HWND FindThreadWindow(const std::wstring& className);
// A descendant of `root` with that class, or null.
HWND FindChildByClass(HWND root, const std::wstring& className);
// The descendant of `form` that carries "kavrel:<name>", or null.
HWND FindControl(HWND form, const std::string& name);
std::wstring ClassNameOf(HWND window);
std::wstring TextOf(HWND window);
// The window's place in its parent's client area.
RECT RectInParent(HWND window);

}  // namespace kavrel::testing
