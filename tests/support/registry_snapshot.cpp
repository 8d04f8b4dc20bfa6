#include "tests/support/registry_snapshot.h"

#include <algorithm>
#include <cwchar>

#include "base/reg_key.h"

namespace kavrel::testing {
namespace {

std::wstring TypeName(DWORD type) {
    switch (type) {
        case REG_SZ:
            return L"REG_SZ";
        case REG_EXPAND_SZ:
            return L"REG_EXPAND_SZ";
        case REG_DWORD:
            return L"REG_DWORD";
        case REG_MULTI_SZ:
            return L"REG_MULTI_SZ";
        default:
            return L"type " + std::to_wstring(type);
    }
}

// Strings up to their first terminator (a missing terminator is shown as it
// is), a DWORD in decimal, anything else in hexadecimal bytes.
std::wstring DataText(DWORD type, const std::vector<BYTE>& data) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(data.size() / sizeof(wchar_t), L'\0');
        std::copy(data.begin(), data.begin() + text.size() * sizeof(wchar_t),
                  reinterpret_cast<BYTE*>(text.data()));
        return text.substr(0, text.find(L'\0'));
    }
    if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
        DWORD value = 0;
        std::copy(data.begin(), data.end(), reinterpret_cast<BYTE*>(&value));
        return std::to_wstring(value);
    }
    std::wstring text;
    for (BYTE byte : data) {
        wchar_t hex[4];
        std::swprintf(hex, 4, L"%02x", byte);
        text += hex;
    }
    return text;
}

void AddKey(HKEY key, REGSAM view, const std::wstring& shown_as, std::vector<std::wstring>& lines) {
    DWORD subkeys = 0, values = 0, longest_name = 0, longest_value_name = 0, longest_data = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longest_name, nullptr, &values,
                         &longest_value_name, &longest_data, nullptr, nullptr) != ERROR_SUCCESS) {
        lines.push_back(shown_as + L"\t(unreadable key)");
        return;
    }
    if (subkeys == 0 && values == 0) {
        lines.push_back(shown_as + L"\t(empty key)");
    }
    for (DWORD i = 0; i < values; ++i) {
        std::wstring name(longest_value_name + 1, L'\0');
        DWORD name_length = static_cast<DWORD>(name.size());
        std::vector<BYTE> data(longest_data);
        DWORD data_size = longest_data;
        DWORD type = REG_NONE;
        if (RegEnumValueW(key, i, name.data(), &name_length, nullptr, &type, data.data(),
                          &data_size) != ERROR_SUCCESS) {
            lines.push_back(shown_as + L"\t(unreadable value)");
            continue;
        }
        name.resize(name_length);
        data.resize(data_size);
        lines.push_back(shown_as + L"\t" + (name.empty() ? L"@" : name) + L"\t" + TypeName(type) +
                        L"\t" + DataText(type, data));
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        std::wstring name(longest_name + 1, L'\0');
        DWORD name_length = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &name_length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            lines.push_back(shown_as + L"\t(unreadable subkey)");
            continue;
        }
        name.resize(name_length);
        RegKey subkey;
        if (RegOpenKeyExW(key, name.c_str(), 0, KEY_READ | view, subkey.put()) != ERROR_SUCCESS) {
            lines.push_back(shown_as + L"\\" + name + L"\t(unreadable key)");
            continue;
        }
        AddKey(subkey.get(), view, shown_as.empty() ? name : shown_as + L"\\" + name, lines);
    }
}

}  // namespace

std::vector<std::wstring> SnapshotTree(HKEY root, const std::wstring& path, REGSAM view,
                                       const std::wstring& shown_as) {
    std::vector<std::wstring> lines;
    RegKey key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, key.put()) == ERROR_SUCCESS) {
        AddKey(key.get(), view, shown_as, lines);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool KeyExists(HKEY root, const std::wstring& path, REGSAM view) {
    RegKey key;
    return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, key.put()) == ERROR_SUCCESS;
}

}  // namespace kavrel::testing
