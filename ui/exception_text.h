// The text by which an exception is shown to the user.
#pragma once

#include <string>

namespace ui {

// The message of the exception being handled (call inside a catch block):
// an AddonError's message, a standard exception's what() read as UTF-8, a
// fixed text for anything else. The add-on can install its own mapping so
// that message boxes and the host see the same text.
std::u16string CurrentExceptionText();

using ExceptionTextSource = std::u16string (*)();
void SetExceptionTextSource(ExceptionTextSource source) noexcept;

// The text shown for an exception that carries no message of its own.
inline constexpr char16_t kUnknownErrorText[] = u"Неизвестная ошибка";

}  // namespace ui
