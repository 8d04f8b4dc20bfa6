// The declared layout of a form: its type name, frame, client size, font and
// named controls, every place and size in 96-dpi pixels.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/layout_math.h"

namespace ui {

enum class ControlKind {
    PushButton,     // BUTTON
    ImageButton,    // owner-drawn BUTTON, picture from a painter, tooltip
    Edit,           // EDIT, one line
    LabelledEdit,   // EDIT with a STATIC to its left
    Label,          // STATIC
    CheckBox,       // BUTTON, auto check box
    ComboDropDown,  // COMBOBOX with an editable text
    ComboList,      // COMBOBOX, fixed list
    TreeView,       // SysTreeView32
    Memo,           // EDIT, many lines, no word wrap
    ProgressBar,    // msctls_progress32
};

// Paints an image button's picture into `area` (the button's client rectangle
// at the screen's resolution, so the picture is drawn at the size it is shown).
using PicturePainter = std::function<void(HDC dc, const RECT& area, bool pressed, bool enabled)>;

struct ControlLayout {
    std::string name;  // design name: found from outside as window property "kavrel:<name>"
    ControlKind kind = ControlKind::Label;
    Rect rect;  // 96-dpi pixels in the form's client area; a label of width or height 0 fits its
                // text
    std::u16string caption;  // button, check box and label text; initial text of edits; label of a
                             // labelled edit
    Anchors anchors = kAnchorsDefault;
    int tabOrder = -1;       // position in the tab sequence, -1: not reached by Tab
    std::u16string tooltip;  // shown on hover
    PicturePainter painter;  // image buttons
    int modalResult = 0;     // a click sets the form's modal result to this before its handler runs
    bool readOnly = false;   // edits
    bool isDefault = false;  // Enter in a modal dialog clicks it
    bool isCancel = false;   // Escape in a modal dialog clicks it
    std::vector<std::u16string> items;  // combo boxes
    int treeIndent = 0;                 // tree views, 96-dpi pixels; 0 keeps the system's
};

enum class FormFrame {
    Child,       // no border, no caption: lives inside a window of someone else
    Dialog,      // fixed dialog frame with a caption
    ToolWindow,  // fixed tool-window frame
    Sizeable,    // sizeable frame with a caption
};

struct FormLayout {
    std::u16string typeName;  // window class name, by which the form is found
    std::u16string caption;
    FormFrame frame = FormFrame::Dialog;
    Size clientSize;                      // 96-dpi pixels
    std::optional<POINT> screenPosition;  // designed position of a top-level form, screen pixels
    std::u16string fontName = u"Tahoma";
    int fontHeight = -11;  // LOGFONT height at 96 dpi: negative is the character height
    std::vector<ControlLayout> controls;
};

}  // namespace ui
