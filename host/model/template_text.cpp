#include "host/model/template_text.h"

namespace kavrel::host {

std::u16string ExpandTemplateText(std::u16string_view text, const FieldText& field_text) {
    std::u16string out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t open = text.find(u'{', pos);
        if (open == std::u16string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        const std::size_t close = text.find(u'}', open + 1);
        if (close == std::u16string_view::npos) {
            out.append(text.substr(pos));
            break;
        }
        // In "{a{b}" only "{b}" is a reference.
        open = text.rfind(u'{', close);
        out.append(text.substr(pos, open - pos));
        const std::u16string_view reference = text.substr(open + 1, close - open - 1);
        std::optional<std::u16string> value = field_text(reference);
        if (!value) {
            throw UnknownFieldReference(std::u16string(reference));
        }
        out.append(*value);
        pos = close + 1;
    }
    return out;
}

}  // namespace kavrel::host
