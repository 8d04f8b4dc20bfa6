// UTF-8 <-> UTF-16 for texts that come from C++ exceptions and project files.
// Windows-free. Invalid sequences become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace kavrel {

std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);

}  // namespace kavrel
