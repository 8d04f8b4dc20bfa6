// Numbers as the host writes them into texts: the shortest form that reads back
// to the same 64-bit float, with the session's decimal separator. Windows-free
// and independent of the C library's locale.
#pragma once

#include <string>

namespace kavrel::host {

std::u16string FormatNumber(double value, char16_t decimal_separator);

}  // namespace kavrel::host
