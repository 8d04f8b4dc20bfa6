// The library's decimal separator for number texts: the user's regional
// setting when the library is loaded, and the comma once the import command
// has run.
#pragma once

namespace kavrel {

char16_t LibraryDecimalSeparator() noexcept;
void UseDecimalComma() noexcept;

}  // namespace kavrel
