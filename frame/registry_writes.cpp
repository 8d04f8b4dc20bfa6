#include "frame/registry_writes.h"

#include "base/registry_operations.h"

namespace kavrel {

RegistryWrites::~RegistryWrites() {
    // A key that cannot be deleted now stays; nothing else can be done here.
    for (auto key = created_.rbegin(); key != created_.rend(); ++key) {
        try {
            Registry().DeleteKey(root_, *key);
        } catch (...) {
        }
    }
}

LSTATUS RegistryWrites::CreateKey(const std::u16string& path, RegKey& key) {
    std::size_t from = 0;  // where the level being looked at begins
    for (;;) {
        const std::size_t end = path.find(u'\\', from);
        const bool last = end == std::u16string::npos;
        // An empty level (two backslashes in a row) is no key of its own.
        if (last || end > from) {
            const std::u16string level = path.substr(0, end);
            RegKey opened;
            bool created = false;
            const LSTATUS status = Registry().CreateKey(root_, level, opened, created);
            if (status != ERROR_SUCCESS) {
                return status;
            }
            if (created) {
                created_.push_back(level);
            }
            if (last) {
                key = std::move(opened);
                return ERROR_SUCCESS;
            }
        }
        from = end + 1;
    }
}

LSTATUS RegistryWrites::SetString(HKEY key, const wchar_t* name, const std::u16string& value) {
    return Registry().SetString(key, name, value);
}

LSTATUS RegistryWrites::Flush(HKEY key) {
    return Registry().Flush(key);
}

}  // namespace kavrel
