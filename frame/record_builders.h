// The records an add-on hands the host, filled in the byte layouts the host
// reads. Windows-free, so that the records are checked byte for byte natively.
#pragma once

#include <cstdint>
#include <string_view>

#include "gis/records.h"

namespace kavrel {

inline constexpr std::int32_t kSdkVersion = 260;

// An identity record: the name cut to 31 characters, the caption to 63, the
// SDK version always 260.
AddOnInfo MakeAddOnInfo(const GuidBytes& class_id, std::u16string_view name,
                        std::u16string_view caption, std::int32_t options);

// One command row; Bitmap and MenuReserved are 0.
MacroAttrs MakeMacroAttrs(std::int32_t id, std::u16string_view bitmap_name,
                          std::u16string_view caption, std::u16string_view menu_path,
                          std::u16string_view toolbar_name, std::u16string_view category_name);

}  // namespace kavrel
