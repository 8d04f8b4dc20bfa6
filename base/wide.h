// UTF-16 text handed to the wide Windows API: char16_t and wchar_t are the
// same 16-bit code units there, only the C++ types differ.
#pragma once

#include <string>

namespace kavrel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t is UTF-16");

inline const wchar_t* Wide(const std::u16string& text) noexcept {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline const wchar_t* Wide(const char16_t* text) noexcept {
    return reinterpret_cast<const wchar_t*>(text);
}

}  // namespace kavrel
