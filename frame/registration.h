// Registry entries: the host's add-on keys and the COM class keys. Every
// write goes through Registry() (base/registry_operations.h); a call that
// fails half-way takes back the keys it created.
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
// Deletes those keys; keys already gone are no failure. When the class key
// cannot be deleted after its server key was, the server key is put back.
void UnregisterComServer();

// What the exports M2DllRegisterAddOn, DllRegisterServer and
// DllUnregisterServer answer: S_OK, or E_FAIL on any failure (the host is not
// connected while it registers, so nothing is reported to it).
HRESULT RegisterAddOnExport(const char* applied_name, BOOL active) noexcept;
HRESULT RegisterServerExport() noexcept;
HRESULT UnregisterServerExport() noexcept;

}  // namespace kavrel
