#include "frame/record_builders.h"

#include <cstring>

#include "base/short_string.h"

namespace kavrel {

AddOnInfo MakeAddOnInfo(const GuidBytes& class_id, std::u16string_view name,
                        std::u16string_view caption, std::int32_t options) {
    AddOnInfo info;
    std::memset(&info, 0, sizeof info);
    info.ClassId = class_id;
    StoreShortString(info.Name, name);
    StoreShortString(info.Caption, caption);
    info.Options = options;
    info.SdkVersion = kSdkVersion;
    return info;
}

MacroAttrs MakeMacroAttrs(std::int32_t id, std::u16string_view bitmap_name,
                          std::u16string_view caption, std::u16string_view menu_path,
                          std::u16string_view toolbar_name, std::u16string_view category_name) {
    MacroAttrs row;
    std::memset(&row, 0, sizeof row);
    row.Id = id;
    StoreShortString(row.BitmapName, bitmap_name);
    StoreShortString(row.Caption, caption);
    StoreShortString(row.MenuPath, menu_path);
    row.MenuReserved = 0;
    StoreShortString(row.ToolbarName, toolbar_name);
    StoreShortString(row.CategoryName, category_name);
    row.Bitmap = 0;
    return row;
}

}  // namespace kavrel
