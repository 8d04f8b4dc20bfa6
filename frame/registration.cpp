#include "frame/registration.h"

#include <cstring>
#include <vector>

#include "base/wide.h"
#include "frame/com_server.h"
#include "frame/custom_addon.h"
#include "base/errors.h"
#include "base/module.h"
#include "frame/library_refs.h"
#include "base/reg_key.h"
#include "base/reg_path.h"

namespace kavrel {
namespace {

// RegCreateKeyEx takes a path relative to the root: no leading backslash.
std::u16string RelativeKeyPath(std::u16string path) {
    while (!path.empty() && path.front() == u'\\') {
        path.erase(0, 1);
    }
    return path;
}

LSTATUS WriteString(HKEY key, const wchar_t* name, const std::u16string& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
}

void ThrowRegistryStatus(LSTATUS status) {
    throw AddonError(SystemErrorText(HRESULT_FROM_WIN32(static_cast<DWORD>(status))));
}

// The full file name of this library, in its short form when it has a space.
std::u16string LibraryFileName() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(CodeModule(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            throw AddonError(u"Error creating system registry entry");
        }
        if (length < buffer.size()) {
            buffer.resize(length);
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    std::u16string name(buffer.begin(), buffer.end());
    if (name.find(u' ') != std::u16string::npos) {
        const DWORD needed = GetShortPathNameW(Wide(name), nullptr, 0);
        if (needed != 0) {
            std::vector<wchar_t> short_name(needed);
            const DWORD length = GetShortPathNameW(Wide(name), short_name.data(), needed);
            if (length != 0 && length < needed) {
                name.assign(short_name.begin(), short_name.begin() + length);
            }
        }
    }
    return name;
}

void CreateClassKey(const std::u16string& path, const wchar_t* value_name,
                    const std::u16string& value) {
    RegKey key;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS ||
        WriteString(key.get(), value_name, value) != ERROR_SUCCESS) {
        throw AddonError(u"Error creating system registry entry");
    }
}

}  // namespace

std::u16string GuidToRegString(const GUID& guid) {
    wchar_t buffer[128] = {};
    const int length = StringFromGUID2(guid, buffer, 128);
    if (length <= 1) {
        throw AddonError(u"Ошибка при конвертации GUID'а в строку");
    }
    return std::u16string(reinterpret_cast<const char16_t*>(buffer),
                          static_cast<std::size_t>(length - 1));
}

void RegisterAddons(std::u16string_view applied_name, bool active) {
    if (!AddonList) {
        return;
    }
    // A copy: the list must not change under the walk, but be safe if it does.
    const TAddonList addons = *AddonList;
    for (TM2CustomAddon* addon : addons) {
        AddOnInfo info;
        addon->GetInfo(info);
        GUID class_id;
        static_assert(sizeof class_id == sizeof info.ClassId);
        std::memcpy(&class_id, &info.ClassId, sizeof class_id);
        const std::u16string path =
            RelativeKeyPath(AddonRegistryKey(applied_name, GuidToRegString(class_id)));

        RegKey key;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            KEY_ALL_ACCESS, nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
            throw AddonError(u"Ошибка при регистрации расширения");
        }
        if (const LSTATUS status = WriteString(key.get(), nullptr, addon->Caption());
            status != ERROR_SUCCESS) {
            ThrowRegistryStatus(status);
        }
        if (const LSTATUS status = WriteString(key.get(), L"Active", active ? u"1" : u"0");
            status != ERROR_SUCCESS) {
            ThrowRegistryStatus(status);
        }
        // Written through now, not left to the registry's lazy flush.
        RegFlushKey(key.get());
    }
}

void RegisterComServer() {
    if (!ComServer) {
        throw AddonError(u"Error creating system registry entry");
    }
    const std::u16string file_name = LibraryFileName();
    for (const auto& factory : ComServer->Factories()) {
        const std::u16string key = u"CLSID\\" + GuidToRegString(factory->ClassId());
        CreateClassKey(key, nullptr, factory->Description());
        CreateClassKey(key + u"\\InprocServer32", nullptr, file_name);
    }
}

void UnregisterComServer() noexcept {
    if (!ComServer) {
        return;
    }
    for (const auto& factory : ComServer->Factories()) {
        try {
            const std::u16string key = u"CLSID\\" + GuidToRegString(factory->ClassId());
            RegDeleteKeyW(HKEY_CLASSES_ROOT, Wide(key + u"\\InprocServer32"));
            RegDeleteKeyW(HKEY_CLASSES_ROOT, Wide(key));
        } catch (...) {
            // Unregistering goes on with the next class.
        }
    }
}

}  // namespace kavrel
