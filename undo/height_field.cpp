#include "undo/height_field.h"

#include <cmath>

#include "base/errors.h"
#include "gis/host_calls.h"

namespace kavrel {
namespace {

// A field name is read up to this length.
constexpr std::size_t kMaxFieldNameLength = 300;

}  // namespace

std::u16string HeightFieldText(IHostMapObject* object, std::u16string_view setting) {
    std::u16string text = u"{";
    text.append(setting).append(u"}");
    return gis::ExpandTemplate(object, text);
}

void WriteHeightField(IHostMapObject* object, std::u16string_view setting, double value) {
    if (!std::isfinite(value)) {
        // A sum beyond the range of a double would store an infinite height.
        throw AddonError(u"Высота вне допустимого диапазона.");
    }
    const std::size_t point = setting.find(u'.');
    const std::u16string_view table =
        point == std::u16string_view::npos ? std::u16string_view() : setting.substr(0, point);
    const std::u16string_view field =
        setting.substr(point == std::u16string_view::npos ? 0 : point + 1, kMaxFieldNameLength);
    gis::SetFloatValue(object, table, field, value);
}

}  // namespace kavrel
