#include "frame/registration.h"

#include <cstring>
#include <vector>

#include "base/errors.h"
#include "base/guid_text.h"
#include "base/module.h"
#include "base/reg_key.h"
#include "base/reg_path.h"
#include "base/registry_operations.h"
#include "base/wide.h"
#include "frame/com_server.h"
#include "frame/custom_addon.h"
#include "frame/library_refs.h"
#include "frame/registry_writes.h"

namespace kavrel {
namespace {

// RegCreateKeyEx takes a path relative to the root: no leading backslash.
std::u16string RelativeKeyPath(std::u16string path) {
    while (!path.empty() && path.front() == u'\\') {
        path.erase(0, 1);
    }
    return path;
}

constexpr char16_t kClassKeyFailed[] = u"Error creating system registry entry";
constexpr char16_t kClassKeyNotRemoved[] = u"Error removing system registry entry";

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
            throw AddonError(kClassKeyFailed);
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

void CreateClassKey(RegistryWrites& writes, const std::u16string& path,
                    const std::u16string& value) {
    RegKey key;
    if (writes.CreateKey(path, key) != ERROR_SUCCESS ||
        writes.SetString(key.get(), nullptr, value) != ERROR_SUCCESS) {
        throw AddonError(kClassKeyFailed);
    }
}

// The host's key of one add-on: default value the caption, "Active".
void WriteAddonKey(RegistryWrites& writes, TM2CustomAddon& addon, std::u16string_view applied_name,
                   bool active) {
    AddOnInfo info;
    addon.GetInfo(info);
    GUID class_id;
    static_assert(sizeof class_id == sizeof info.ClassId);
    std::memcpy(&class_id, &info.ClassId, sizeof class_id);
    const std::u16string path =
        RelativeKeyPath(AddonRegistryKey(applied_name, GuidToRegString(class_id)));
    RegKey key;
    if (writes.CreateKey(path, key) != ERROR_SUCCESS) {
        throw AddonError(u"Ошибка при регистрации расширения");
    }
    const auto check = [](LSTATUS status) {
        if (status != ERROR_SUCCESS) {
            ThrowRegistryStatus(status);
        }
    };
    check(writes.SetString(key.get(), nullptr, addon.Caption()));
    check(writes.SetString(key.get(), L"Active", active ? u"1" : u"0"));
    // Written through now, not left to the registry's lazy flush.
    check(writes.Flush(key.get()));
}

// Deletes a key; one that is not there counts as deleted.
bool DeleteKeyIfPresent(const std::u16string& path) {
    const LSTATUS status = Registry().DeleteKey(HKEY_CLASSES_ROOT, path);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// Unregistering stopped after the server key went: it is put back as
// registration writes it, so the class stays registered as a whole.
void RestoreServerKey(const std::u16string& server_key) noexcept {
    try {
        RegistryWrites writes(HKEY_CLASSES_ROOT);
        CreateClassKey(writes, server_key, LibraryFileName());
        writes.Commit();
    } catch (...) {
        // The class key stays without its server: COM finds no server for it.
    }
}

}  // namespace

std::u16string GuidToRegString(const GUID& guid) {
    std::u16string text = GuidText(guid);
    if (text.empty()) {
        throw AddonError(u"Ошибка при конвертации GUID'а в строку");
    }
    return text;
}

void RegisterAddons(std::u16string_view applied_name, bool active) {
    if (!AddonList) {
        return;
    }
    // A copy: the list must not change under the walk, but be safe if it does.
    const TAddonList addons = *AddonList;
    RegistryWrites writes(HKEY_LOCAL_MACHINE);
    for (TM2CustomAddon* addon : addons) {
        WriteAddonKey(writes, *addon, applied_name, active);
    }
    writes.Commit();
}

void RegisterComServer() {
    if (!ComServer) {
        throw AddonError(kClassKeyFailed);
    }
    const std::u16string file_name = LibraryFileName();
    RegistryWrites writes(HKEY_CLASSES_ROOT);
    for (const auto& factory : ComServer->Factories()) {
        const std::u16string key = u"CLSID\\" + GuidToRegString(factory->ClassId());
        CreateClassKey(writes, key, factory->Description());
        CreateClassKey(writes, key + u"\\InprocServer32", file_name);
    }
    writes.Commit();
}

void UnregisterComServer() {
    if (!ComServer) {
        return;
    }
    for (const auto& factory : ComServer->Factories()) {
        const std::u16string key = u"CLSID\\" + GuidToRegString(factory->ClassId());
        const std::u16string server_key = key + u"\\InprocServer32";
        if (!DeleteKeyIfPresent(server_key)) {
            throw AddonError(kClassKeyNotRemoved);
        }
        if (!DeleteKeyIfPresent(key)) {
            RestoreServerKey(server_key);
            throw AddonError(kClassKeyNotRemoved);
        }
    }
}

}  // namespace kavrel
