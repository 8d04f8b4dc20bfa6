// Message boxes of the add-on: its application title as the caption, owned by
// the top-level window of the form that shows them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ui {

// The caption of every message box the forms show.
void SetApplicationTitle(std::u16string_view title);
const std::u16string& ApplicationTitle() noexcept;

// A modal message box with an OK button; `owner` may be a child window, the
// box then belongs to its top-level window. Returns the button pressed.
int ShowMessage(HWND owner, std::u16string_view text, UINT icon = MB_ICONINFORMATION) noexcept;

// A modal question with the buttons Yes and No ("Да", "Нет" in Russian
// Windows); true only when the answer is Yes.
bool AskYesNo(HWND owner, std::u16string_view text) noexcept;

// The message box that reports an exception that ended a handler; call it
// inside a catch block.
void ShowCurrentException(HWND owner) noexcept;

}  // namespace ui
