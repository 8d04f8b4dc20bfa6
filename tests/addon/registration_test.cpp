// What the library writes to the registry: the host's add-on keys through
// M2DllRegisterAddOn and the COM class keys through DllRegisterServer; and the
// version information the file carries.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/reg_key.h"
#include "base/wide.h"
#include "tests/addon/addon_env.h"
#include "tests/support/registry_snapshot.h"

namespace kavrel::test {
namespace {

const std::wstring kClassId = L"{9EA2AFB5-68F6-4A9D-B4AB-6105CAB43761}";

// A string value, or "<missing>".
std::wstring ReadString(HKEY root, const std::wstring& key, const wchar_t* name) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return L"<missing>";
    }
    return buffer;
}

std::vector<std::wstring> SubKeys(HKEY root, const std::wstring& key) {
    std::vector<std::wstring> names;
    RegKey handle;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, handle.put()) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumKeyExW(handle.get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        names.emplace_back(name, length);
    }
    return names;
}

// Removes the host's vendor tree this test writes to, before and after.
class HostAddonKeys : public ::testing::Test {
  protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Albea"); }
};

TEST_F(HostAddonKeys, AppliedNameVariantsAndActiveFlags) {
    struct Case {
        const char* label;
        const char* applied_name;
        BOOL active;
        std::wstring parent;  // the key holding the class id key
        const wchar_t* active_text;
    };
    const std::wstring general = L"Software\\Albea\\GIS\\AddOns";
    const std::wstring proj = L"Software\\Albea\\GIS\\AppliedAddOns\\Proj";
    const Case cases[] = {
        {"no applied name", nullptr, 1, general, L"1"},
        {"empty applied name", "", 1, general, L"1"},
        {"applied name", "Proj", 1, proj, L"1"},
        {"applied name with backslashes", "\\Proj\\", 0, proj, L"0"},
        {"any non-zero is active", "Proj", 7, proj, L"1"},
        {"inactive without applied name", nullptr, 0, general, L"0"},
    };
    for (const Case& c : cases) {
        Clean();
        EXPECT_EQ(CallM2DllRegisterAddOn(c.applied_name, c.active), S_OK) << c.label;
        const std::wstring key = c.parent + L"\\" + kClassId;
        EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, key, nullptr), WindowsString(kCaption)) << c.label;
        EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, key, L"Active"), c.active_text) << c.label;
        // One key at each level: no doubled or stray separators.
        EXPECT_EQ(SubKeys(HKEY_LOCAL_MACHINE, c.parent), std::vector<std::wstring>{kClassId})
            << c.label;
        EXPECT_EQ(SubKeys(HKEY_LOCAL_MACHINE, L"Software\\Albea\\GIS").size(), 1u) << c.label;
    }
}

TEST_F(HostAddonKeys, RegisteringAgainOverwritesTheActiveFlag) {
    const std::wstring key = L"Software\\Albea\\GIS\\AddOns\\" + kClassId;
    ASSERT_EQ(CallM2DllRegisterAddOn(nullptr, 1), S_OK);
    ASSERT_EQ(CallM2DllRegisterAddOn(nullptr, 0), S_OK);
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, key, L"Active"), L"0");
}

TEST_F(HostAddonKeys, AKeyThatCannotBeCreatedFailsTheCall) {
    // A key name longer than the registry allows for one level.
    const std::string too_long(300, 'x');
    EXPECT_EQ(CallM2DllRegisterAddOn(too_long.c_str(), 1), E_FAIL);
    EXPECT_TRUE(SubKeys(HKEY_LOCAL_MACHINE, L"Software\\Albea\\GIS\\AppliedAddOns").empty());
}

TEST(ComClassKeys, RegisterAndUnregisterServer) {
    const std::wstring key = L"CLSID\\" + kClassId;
    const std::wstring server = key + L"\\InprocServer32";
    wchar_t module_name[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameW(AddonModule(), module_name, MAX_PATH), 0u);

    ASSERT_EQ(CallDllRegisterServer(), S_OK);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, key, nullptr), WindowsString(kCaption));
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, server, nullptr), module_name);
    EXPECT_EQ(ReadString(HKEY_CLASSES_ROOT, server, L"ThreadingModel"), L"<missing>");
    EXPECT_EQ(SubKeys(HKEY_CLASSES_ROOT, key), std::vector<std::wstring>{L"InprocServer32"})
        << "no ProgID, no type library";

    EXPECT_EQ(CallDllUnregisterServer(), S_OK);
    EXPECT_FALSE(kavrel::testing::KeyExists(HKEY_CLASSES_ROOT, server, 0));
    EXPECT_FALSE(kavrel::testing::KeyExists(HKEY_CLASSES_ROOT, key, 0));
    EXPECT_EQ(CallDllUnregisterServer(), S_OK) << "nothing left to delete is no failure";

    // Back as regsvr32 left it, for the rest of the run.
    ASSERT_EQ(CallDllRegisterServer(), S_OK);
    ComPtr<IUnknown> addon;
    EXPECT_EQ(CoCreateInstance(kAddonClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                               addon.put_void()),
              S_OK);
}

TEST(VersionInfo, DescriptionCompanyCopyrightAndVersions) {
    const std::wstring path = AddonDllPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    struct Translation {
        WORD language;
        WORD code_page;
    }* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, sizeof *translation);
    wchar_t block[64];
    wsprintfW(block, L"\\StringFileInfo\\%04x%04x\\", translation->language,
              translation->code_page);

    const struct {
        const wchar_t* name;
        std::wstring value;
    } values[] = {
        {L"FileDescription", WindowsString(kCaption)},
        {L"CompanyName", L"KAVREL project"},
        {L"LegalCopyright", WindowsString(u"© 2026 KAVREL project")},
        {L"FileVersion", L"1.0.0.0"},
        {L"ProductVersion", L"1.0.0.0"},
    };
    for (const auto& v : values) {
        wchar_t* text = nullptr;
        ASSERT_TRUE(VerQueryValueW(data.data(), (std::wstring(block) + v.name).c_str(),
                                   reinterpret_cast<void**>(&text), &length))
            << v.name;
        EXPECT_EQ(std::wstring(text), v.value) << v.name;
    }
}

}  // namespace
}  // namespace kavrel::test
