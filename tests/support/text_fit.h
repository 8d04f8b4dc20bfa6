// Whether a form shows all of its text: every caption, label, edit text and
// list entry measured in its control's own font against the room the control
// gives it, as the user sees the form.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kavrel::testing {

// One line per control whose text does not fit: its design name, the text,
// the width (or height) it takes and the room it has. Checked: labels (their
// text, their place inside the form, no overlap with another control),
// one-line edits (text in the formatting rectangle), push buttons and check boxes, and every
// entry of a combo box's list against its selection field. Picture buttons,
// lists that scroll and the multi-line edit are left out.
std::vector<std::string> TextThatDoesNotFit(HWND form);

}  // namespace kavrel::testing
