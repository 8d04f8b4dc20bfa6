// The add-on's identity and its two commands, in the byte layouts the host
// reads. Windows-free, so that the records are checked byte for byte natively.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "frame/record_builders.h"
#include "gis/records.h"

namespace kavrel {

inline constexpr std::u16string_view kAddonName = u"KAVREL";
inline constexpr std::u16string_view kAddonCaption = u"Работа с высотными отметками";
inline constexpr std::int32_t kAddonOptions = 0;

// {9EA2AFB5-68F6-4A9D-B4AB-6105CAB43761} in the Windows GUID layout.
inline constexpr GuidBytes kAddonClassIdBytes = {
    0x9EA2AFB5, 0x68F6, 0x4A9D, {0xB4, 0xAB, 0x61, 0x05, 0xCA, 0xB4, 0x37, 0x61}};

inline constexpr std::int32_t kImportCommandId = 1;
inline constexpr std::int32_t kEditorCommandId = 2;

// The two commands: import of marks from text, then the mark editor. The
// bitmap handles are 0 until the add-on loads them.
std::array<MacroAttrs, 2> MakeCommandTable();

// The resource name of a row's bitmap: its BitmapName in upper case (ASCII).
std::u16string BitmapResourceName(const MacroAttrs& row);

// True when the row has a toolbar group, and so a bitmap.
bool RowHasToolbar(const MacroAttrs& row);

}  // namespace kavrel
