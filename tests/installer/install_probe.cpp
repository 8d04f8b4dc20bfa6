// What the library registers and whether its class can be created, asked
// from a process of the library's own architecture (a 32-bit library needs a
// 32-bit process).
//
//   install_probe capture LIBRARY OUT
//       runs DllRegisterServer and M2DllRegisterAddOn(no applied name, active)
//       of LIBRARY with HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE redirected to
//       scratch keys, the way Windows Installer captures a self-registration,
//       and writes what they wrote to OUT (SnapshotTree lines, UTF-16)
//   install_probe create OUT
//       creates the add-on's class by its class id through COM and writes the
//       full file name of the library the object came from to OUT
//
// Exit status 0 on success; otherwise a message on the standard error.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "base/com_ptr.h"
#include "base/handle_casts.h"
#include "base/reg_key.h"
#include "tests/support/registry_snapshot.h"

namespace {

using kavrel::RegKey;

constexpr CLSID kAddonClassId = {
    0x9EA2AFB5, 0x68F6, 0x4A9D, {0xB4, 0xAB, 0x61, 0x05, 0xCA, 0xB4, 0x37, 0x61}};
const wchar_t kScratch[] = L"Software\\KAVREL install probe";

int Fail(const char* what, long code) {
    std::fprintf(stderr, "install_probe: %s (0x%08lx)\n", what, code);
    return 1;
}

bool WriteLines(const std::wstring& path, const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const std::wstring& line : lines) {
        text += line + L"\n";
    }
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(text.data()),
              static_cast<std::streamsize>(text.size() * sizeof(wchar_t)));
    return out.good();
}

// Frees the library when the capture ends, whichever way.
class Library {
  public:
    explicit Library(const std::wstring& path) : module_(LoadLibraryW(path.c_str())) {}
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library() {
        if (module_) {
            FreeLibrary(module_);
        }
    }
    HMODULE get() const { return module_; }

  private:
    HMODULE module_;
};

// Points a predefined key at a scratch key until destroyed.
class PredefinedKeyOverride {
  public:
    PredefinedKeyOverride(HKEY predefined, HKEY scratch)
        : predefined_(predefined), status_(RegOverridePredefKey(predefined, scratch)) {}
    PredefinedKeyOverride(const PredefinedKeyOverride&) = delete;
    PredefinedKeyOverride& operator=(const PredefinedKeyOverride&) = delete;
    ~PredefinedKeyOverride() {
        if (status_ == ERROR_SUCCESS) {
            RegOverridePredefKey(predefined_, nullptr);
        }
    }
    LSTATUS status() const { return status_; }

  private:
    HKEY predefined_;
    LSTATUS status_;
};

int Capture(const std::wstring& library_path, const std::wstring& out) {
    // Loaded before the redirection: the loader reads the real registry.
    Library library(library_path);
    if (!library.get()) {
        return Fail("cannot load the library", static_cast<long>(GetLastError()));
    }
    const auto register_server =
        kavrel::ProcAddress<HRESULT(__stdcall*)()>(library.get(), "DllRegisterServer");
    const auto register_addon = kavrel::ProcAddress<HRESULT(__stdcall*)(const char*, BOOL)>(
        library.get(), "M2DllRegisterAddOn");
    if (!register_server || !register_addon) {
        return Fail("the library lacks a registration export", 0);
    }

    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    const std::wstring classes_path = std::wstring(kScratch) + L"\\classes";
    const std::wstring machine_path = std::wstring(kScratch) + L"\\machine";
    RegKey classes, machine;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, classes_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, classes.put(), nullptr) != ERROR_SUCCESS ||
        RegCreateKeyExW(HKEY_CURRENT_USER, machine_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, machine.put(), nullptr) != ERROR_SUCCESS) {
        return Fail("cannot create the scratch keys", 0);
    }
    HRESULT server_status = E_FAIL, addon_status = E_FAIL;
    {
        PredefinedKeyOverride classes_root(HKEY_CLASSES_ROOT, classes.get());
        PredefinedKeyOverride machine_root(HKEY_LOCAL_MACHINE, machine.get());
        if (classes_root.status() != ERROR_SUCCESS || machine_root.status() != ERROR_SUCCESS) {
            return Fail("RegOverridePredefKey failed", classes_root.status());
        }
        server_status = register_server();
        addon_status = register_addon(nullptr, TRUE);
    }
    if (FAILED(server_status)) {
        return Fail("DllRegisterServer failed", server_status);
    }
    if (FAILED(addon_status)) {
        return Fail("M2DllRegisterAddOn failed", addon_status);
    }
    // Run elevated, DllRegisterServer's HKEY_CLASSES_ROOT keys are the
    // machine's, below HKEY_LOCAL_MACHINE\Software\Classes.
    std::vector<std::wstring> lines = kavrel::testing::SnapshotTree(
        HKEY_CURRENT_USER, classes_path, KEY_WOW64_64KEY, L"Software\\Classes");
    const std::vector<std::wstring> machine_lines =
        kavrel::testing::SnapshotTree(HKEY_CURRENT_USER, machine_path, KEY_WOW64_64KEY, L"");
    lines.insert(lines.end(), machine_lines.begin(), machine_lines.end());
    RegDeleteTreeW(HKEY_CURRENT_USER, kScratch);
    return WriteLines(out, lines) ? 0 : Fail("cannot write the output", 0);
}

int Create(const std::wstring& out) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        return Fail("CoInitializeEx failed", 0);
    }
    std::wstring library_name;
    HRESULT status = E_FAIL;
    {
        kavrel::ComPtr<IUnknown> addon;
        status = CoCreateInstance(kAddonClassId, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                  addon.put_void());
        if (SUCCEEDED(status)) {
            wchar_t name[MAX_PATH] = {};
            GetModuleFileNameW(GetModuleHandleW(L"kavrel.dll"), name, MAX_PATH);
            // The class is registered by its short name; compare long names.
            wchar_t long_name[MAX_PATH] = {};
            library_name = GetLongPathNameW(name, long_name, MAX_PATH) ? long_name : name;
        }
    }
    CoUninitialize();
    if (FAILED(status)) {
        return Fail("CoCreateInstance failed", status);
    }
    return WriteLines(out, {library_name}) ? 0 : Fail("cannot write the output", 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"capture" && argc == 4) {
        return Capture(argv[2], argv[3]);
    }
    if (verb == L"create" && argc == 3) {
        return Create(argv[2]);
    }
    std::fprintf(stderr, "usage: install_probe capture LIBRARY OUT | create OUT\n");
    return 2;
}
