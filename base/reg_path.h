// Registry key paths. Windows-free.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace kavrel {

// Joins key path parts with exactly one backslash at each seam; empty parts are
// skipped, a part's own leading or trailing backslash is kept where no seam is.
std::u16string JoinRegPath(std::initializer_list<std::u16string_view> parts);

// The host's add-on key below HKEY_LOCAL_MACHINE for an applied name (empty:
// the general add-on area) and a braced class id.
std::u16string AddonRegistryKey(std::u16string_view applied_name, std::u16string_view class_id);

}  // namespace kavrel
