#include "base/reg_path.h"

namespace kavrel {

std::u16string JoinRegPath(std::initializer_list<std::u16string_view> parts) {
    std::u16string text;
    for (std::u16string_view part : parts) {
        if (part.empty()) {
            continue;
        }
        if (text.empty()) {
            text = part;
            continue;
        }
        const bool part_leads = part.front() == u'\\';
        if (text.back() == u'\\') {
            if (part_leads) {
                part.remove_prefix(1);
            }
        } else if (!part_leads) {
            text.push_back(u'\\');
        }
        text.append(part);
    }
    return text;
}

std::u16string AddonRegistryKey(std::u16string_view applied_name, std::u16string_view class_id) {
    const std::u16string base =
        applied_name.empty()
            ? std::u16string(u"\\Software\\Albea\\GIS\\AddOns")
            : JoinRegPath({u"\\Software\\Albea\\GIS\\AppliedAddOns", applied_name});
    return JoinRegPath({base, class_id});
}

}  // namespace kavrel
