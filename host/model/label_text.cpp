#include "host/model/label_text.h"

#include <optional>

#include "host/model/number_format.h"
#include "host/model/template_text.h"

namespace kavrel::host {

std::u16string LabelText(const MapModel& model, const MapObject& object, const Style& style,
                         char16_t decimal_separator) {
    const ObjectState& state = object.CommittedState();
    const Layer* layer = model.FindLayer(object.layer);
    auto field_text = [&](std::u16string_view reference) -> std::optional<std::u16string> {
        const std::size_t dot = reference.find(u'.');
        if (!layer || dot == std::u16string_view::npos ||
            !model.HasField(*layer, reference.substr(0, dot), reference.substr(dot + 1))) {
            return std::nullopt;
        }
        auto it = state.values.find(std::u16string(reference));
        if (it == state.values.end()) {
            return std::u16string();
        }
        if (const double* number = std::get_if<double>(&it->second)) {
            return FormatNumber(*number, decimal_separator);
        }
        return std::get<std::u16string>(it->second);
    };
    try {
        return ExpandTemplateText(style.text, field_text);
    } catch (const UnknownFieldReference&) {
        return style.text;
    }
}

}  // namespace kavrel::host
