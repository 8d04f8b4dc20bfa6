// Whole files read and written as bytes, by a wide path (names outside the
// ANSI code page included).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kavrel {

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

// Creates or replaces the file; false when it cannot be opened, written or closed.
bool WriteFileBytes(const std::wstring& path, std::string_view bytes);

}  // namespace kavrel
