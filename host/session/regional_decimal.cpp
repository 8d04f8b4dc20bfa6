#include "host/session/regional_decimal.h"

#include "base/wide.h"
#include "host/session/step_fields.h"

namespace kavrel::host {

SavedDecimalSeparator::SavedDecimalSeparator() {
    saved_ = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, value_, 8) > 0;
}

SavedDecimalSeparator::~SavedDecimalSeparator() {
    if (saved_) {
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, value_);
    }
}

std::string ApplyDecimalSeparator(char16_t separator) {
    const wchar_t value[2] = {static_cast<wchar_t>(separator), 0};
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, value);
    wchar_t seen[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, seen, 8);
    return WideToUtf8(std::wstring(seen));
}

}  // namespace kavrel::host
