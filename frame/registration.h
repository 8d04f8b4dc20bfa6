// Registry entries: the host's add-on keys and the COM class keys.
#pragma once

#include <windows.h>

#include <string>

namespace kavrel {

// The GUID in braces, upper-case hexadecimal digits.
std::u16string GuidToRegString(const GUID& guid);

// Writes the host's key of every add-on of the library below HKEY_LOCAL_MACHINE:
// default value the caption, "Active" "1" or "0". Stops at the first failure.
void RegisterAddons(std::u16string_view applied_name, bool active);

// HKEY_CLASSES_ROOT\CLSID\{class id} and its InprocServer32 key for every
// class factory of the library.
void RegisterComServer();
// Deletes those keys; failures are ignored.
void UnregisterComServer() noexcept;

}  // namespace kavrel
