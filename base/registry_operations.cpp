#include "base/registry_operations.h"

#include "base/wide.h"

namespace kavrel {
namespace {

class SystemRegistry final : public RegistryOperations {
  public:
    LSTATUS CreateKey(HKEY root, const std::u16string& path, RegKey& key, bool& created) override {
        DWORD disposition = 0;
        const LSTATUS status =
            RegCreateKeyExW(root, Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, key.put(), &disposition);
        created = status == ERROR_SUCCESS && disposition == REG_CREATED_NEW_KEY;
        return status;
    }
    LSTATUS SetString(HKEY key, const wchar_t* name, const std::u16string& value) override {
        return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
    }
    LSTATUS DeleteKey(HKEY root, const std::u16string& path) override {
        return RegDeleteKeyW(root, Wide(path));
    }
    LSTATUS Flush(HKEY key) override { return RegFlushKey(key); }
};

SystemRegistry system_registry;
RegistryOperations* installed = nullptr;

}  // namespace

RegistryOperations& Registry() noexcept {
    return installed ? *installed : system_registry;
}

RegistryOperations* UseRegistryOperations(RegistryOperations* operations) noexcept {
    RegistryOperations* previous = &Registry();
    installed = operations;
    return previous;
}

}  // namespace kavrel
