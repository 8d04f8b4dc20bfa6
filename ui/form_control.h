// One built control of a form: its declared layout, its window and, for a
// labelled edit, the window of its label.
#pragma once

#include <windows.h>

#include <string>

#include "ui/form.h"

namespace ui {

struct BuiltControl {
    const ControlLayout* layout = nullptr;
    int id = 0;
    HWND window = nullptr;
    HWND label = nullptr;
    Rect placed;       // at the form's resolution, for the designed client size
    Rect labelPlaced;  // labelled edits only
};

// The window property that names a control from outside: "kavrel:<name>".
std::wstring ControlPropertyName(const std::string& controlName);
// The property of a labelled edit's label: "kavrel:<name>.EditLabel".
std::wstring LabelPropertyName(const std::string& controlName);

// Creates a control's window (and a labelled edit's label) in `form`, with
// the form's font, its name property and its place at `dpi`.
void CreateControlWindow(BuiltControl& entry, HWND form, HFONT font, int dpi);
// Removes the name properties before the windows go.
void RemoveControlProperties(const BuiltControl& entry) noexcept;

// Paints an owner-drawn image button: face, edge, then the picture.
void DrawImageButton(const ControlLayout& layout, const DRAWITEMSTRUCT& item);

}  // namespace ui
