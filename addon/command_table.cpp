#include "addon/command_table.h"

#include "base/short_string.h"
#include "frame/record_builders.h"

namespace kavrel {
namespace {

constexpr std::u16string_view kToolbar = u"Утилиты Dravell (отметки)";

}  // namespace

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
