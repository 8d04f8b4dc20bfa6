#include "addon/command_table.h"

#include <cstring>

#include "addon/short_string.h"

namespace kavrel {
namespace {

constexpr std::u16string_view kToolbar = u"Утилиты Dravell (отметки)";

}  // namespace

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

std::array<MacroAttrs, 2> MakeCommandTable() {
    return {
        MakeMacroAttrs(kImportCommandId, u"KAVRELIMPORT", u"Импорт высотных отметок из текста",
                       u"Сервис\\Отметки\\Импорт отметок из текста", kToolbar, kToolbar),
        MakeMacroAttrs(kEditorCommandId, u"KAVRELSETUP", u"Коррекция высотных отметок",
                       u"Сервис\\Отметки\\Коррекция отметок", kToolbar, kToolbar),
    };
}

std::u16string BitmapResourceName(const MacroAttrs& row) {
    std::u16string name = ReadShortStringWide(row.BitmapName);
    for (char16_t& ch : name) {
        if (ch >= u'a' && ch <= u'z') {
            ch = static_cast<char16_t>(ch - u'a' + u'A');
        }
    }
    return name;
}

bool RowHasToolbar(const MacroAttrs& row) {
    return row.ToolbarName.bytes[0] != 0;
}

}  // namespace kavrel
