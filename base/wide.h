// UTF-16 text handed to the wide Windows API: char16_t and wchar_t are the
// same 16-bit code units there, only the C++ types differ.
#pragma once

#include <string>
#include <string_view>

#include "base/utf8.h"

namespace kavrel {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wchar_t is UTF-16");

inline const wchar_t* Wide(const std::u16string& text) noexcept {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline const wchar_t* Wide(const char16_t* text) noexcept {
    return reinterpret_cast<const wchar_t*>(text);
}

// The same text as the other string type.
inline std::wstring WindowsString(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string FromWindowsString(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

// UTF-8 (project files, command lines of tests, reports) and the wide API's text.
inline std::wstring Utf8ToWindows(std::string_view text) {
    return WindowsString(Utf8ToWide(text));
}

inline std::string WideToUtf8(std::wstring_view text) {
    return WideToUtf8(FromWindowsString(text));
}

}  // namespace kavrel
