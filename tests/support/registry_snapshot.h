// A registry subtree as sorted text lines, so that what two writers left
// (a package and the library's own registration, or a call before and after
// a failure) can be compared whole.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kavrel::testing {

// One line per value, "<key>\t<name, @ for the default>\t<type>\t<data>", and
// "<key>\t(empty key)" for a key with neither values nor subkeys. <key> is
// `shown_as` followed by the key's path below `path`. Sorted; empty when the
// key is missing. `view` is KEY_WOW64_32KEY, KEY_WOW64_64KEY or 0 (the
// program's own view).
std::vector<std::wstring> SnapshotTree(HKEY root, const std::wstring& path, REGSAM view,
                                       const std::wstring& shown_as);

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view);

}  // namespace kavrel::testing
