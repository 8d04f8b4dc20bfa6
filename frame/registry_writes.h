// The registry writes of one registration call, taken back when the call
// fails half-way: the keys it created are deleted again, deepest first, so a
// failed registration leaves no entry without its values behind. Values it
// wrote into keys that existed before stay (they are the texts a successful
// call writes). Everything goes through Registry().
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/reg_key.h"

namespace kavrel {

class RegistryWrites {
  public:
    explicit RegistryWrites(HKEY root) noexcept : root_(root) {}
    RegistryWrites(const RegistryWrites&) = delete;
    RegistryWrites& operator=(const RegistryWrites&) = delete;
    // Rolls back unless Commit was called.
    ~RegistryWrites();

    // Opens `path` (levels separated by backslashes) with full access,
    // creating each missing level on its own so that every key this call
    // makes is known.
    LSTATUS CreateKey(const std::u16string& path, RegKey& key);
    LSTATUS SetString(HKEY key, const wchar_t* name, const std::u16string& value);
    LSTATUS Flush(HKEY key);
    // The writes stand.
    void Commit() noexcept { created_.clear(); }

  private:
    HKEY root_;
    std::vector<std::u16string> created_;  // in the order made
};

}  // namespace kavrel
