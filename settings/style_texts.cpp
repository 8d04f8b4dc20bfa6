#include "settings/style_texts.h"

#include "base/short_string.h"

namespace kavrel {

std::u16string StyleDisplayText(std::u16string_view layer_name, std::u16string_view style_name) {
    std::u16string text(layer_name);
    text += u'\\';
    text += style_name;
    return text;
}

std::u16string HeightFieldEntry(std::u16string_view table_name, std::u16string_view field_name) {
    std::u16string text(table_name);
    text += u'.';
    text += field_name;
    return text;
}

std::optional<std::string> SdkIdentifierText(std::u16string_view setting) {
    if (!FitsCp1251(setting)) {
        return std::nullopt;
    }
    return WideToCp1251(setting);
}

bool SameIdentifier(const M2Id& id, std::string_view wanted) {
    return ReadShortString(id) == wanted;
}

}  // namespace kavrel
