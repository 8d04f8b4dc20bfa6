#include "base/decimal_separator.h"

#include <windows.h>

namespace kavrel {
namespace {

char16_t RegionalDecimalSeparator() noexcept {
    wchar_t text[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, 8) >= 2 && text[1] == 0) {
        return static_cast<char16_t>(text[0]);
    }
    // A missing or multi-character separator: the comma of the defaults.
    return u',';
}

// Read when the library is loaded (static initialisation runs at DLL attach).
char16_t g_separator = RegionalDecimalSeparator();

}  // namespace

char16_t LibraryDecimalSeparator() noexcept {
    return g_separator;
}

void UseDecimalComma() noexcept {
    g_separator = u',';
}

}  // namespace kavrel
