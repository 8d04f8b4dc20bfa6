// Drives the add-on's windows from outside, as a user would: finds a form by
// its window class (its type name) and a control by its "kavrel:<name>"
// window property, and sends the messages a user's input produces.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kavrel::host {

// Top-level windows of this thread, in z-order.
std::vector<HWND> ThreadTopWindows();
// Those and all their descendants.
std::vector<HWND> AllThreadWindows();

// The form whose window class is `type_name`, looked for first in `scope`
// (the modal window a step runs in, or none) and then among every window of
// this thread; visible forms are preferred. Throws StepFailure.
HWND FindForm(const std::wstring& type_name, HWND scope);
HWND FindControl(HWND form, const std::wstring& name, const std::string& form_name);

void SetControlText(HWND control, const std::wstring& text);
void SetChecked(HWND control, bool checked);
void ChooseItem(HWND control, int index);
void SelectTreeNode(HWND control, const std::vector<std::wstring>& path);
void ClickControl(HWND control);
void DoubleClickControl(HWND control);
void CloseForm(HWND form);

// The text of a message box (its static texts, icons left out).
std::wstring MessageBoxText(HWND box);
bool IsMessageBoxWindow(HWND window);
std::wstring WindowClass(HWND window);

}  // namespace kavrel::host
