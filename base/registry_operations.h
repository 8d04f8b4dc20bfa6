// The registry operations the add-on's registration makes, behind one
// interface: create or open a key, write a string value, delete a key, flush.
// The system's implementation is the one in use unless a program installs
// another (a test installs one that fails a chosen call).
#pragma once

#include <windows.h>

#include <string>

#include "base/reg_key.h"

namespace kavrel {

class RegistryOperations {
  public:
    virtual ~RegistryOperations() = default;
    // Opens `path` (no leading backslash) below `root` with full access,
    // creating it when absent; `created` tells whether this call made it.
    virtual LSTATUS CreateKey(HKEY root, const std::u16string& path, RegKey& key,
                              bool& created) = 0;
    // Writes a REG_SZ value; a null name is the key's default value.
    virtual LSTATUS SetString(HKEY key, const wchar_t* name, const std::u16string& value) = 0;
    // Deletes a key that has no subkeys.
    virtual LSTATUS DeleteKey(HKEY root, const std::u16string& path) = 0;
    // Writes the key through to disk now.
    virtual LSTATUS Flush(HKEY key) = 0;
};

// The operations in use.
RegistryOperations& Registry() noexcept;
// Installs `operations` (null: the system's again) and answers the ones that
// were in use. The caller keeps `operations` alive while installed.
RegistryOperations* UseRegistryOperations(RegistryOperations* operations) noexcept;

}  // namespace kavrel
