#include "base/guid_text.h"

#include <objbase.h>

namespace kavrel {

std::u16string GuidText(const GUID& guid) {
    wchar_t buffer[64] = {};
    const int length = StringFromGUID2(guid, buffer, 64);
    if (length <= 1) {
        return {};
    }
    return std::u16string(reinterpret_cast<const char16_t*>(buffer),
                          static_cast<std::size_t>(length - 1));
}

}  // namespace kavrel
