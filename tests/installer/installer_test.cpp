// The Windows Installer packages under 64-bit Wine, as an administrator uses
// them: msiexec installs, upgrades and removes them; what they leave is
// compared with what the library's own registration writes for the same
// file, captured from a run of DllRegisterServer and M2DllRegisterAddOn.
//
// run_installer_tests.sh builds the packages and runs this program in a Wine
// prefix of its own; the environment names the packages, the built libraries
// and the probes (install_probe.cpp) of each architecture.
#include <windows.h>
#include <msi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "base/reg_key.h"
#include "base/wide.h"
#include "tests/installer/msi_package.h"
#include "tests/support/child_process.h"
#include "tests/support/registry_snapshot.h"

namespace kavrel::test {
namespace {

using kavrel::testing::KeyExists;
using kavrel::testing::SnapshotTree;

const std::wstring kClassKey = L"Software\\Classes\\CLSID\\{9EA2AFB5-68F6-4A9D-B4AB-6105CAB43761}";
const std::wstring kVendorKey = L"Software\\Albea";
const std::wstring kHostEntryKey =
    L"Software\\Albea\\GIS\\AddOns\\{9EA2AFB5-68F6-4A9D-B4AB-6105CAB43761}";
// Another add-on's entry beside ours: uninstalling must leave it.
const std::wstring kOtherAddonKey =
    L"Software\\Albea\\GIS\\AddOns\\{0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0}";

std::wstring Wide(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? value : L"";
}

// A path of the Linux side, as Wine's drive Z: shows it.
std::wstring UnixPath(const wchar_t* variable) {
    std::wstring path = Environment(variable);
    if (path.empty()) {
        return path;
    }
    for (wchar_t& ch : path) {
        if (ch == L'/') {
            ch = L'\\';
        }
    }
    return L"Z:" + path;
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<char> FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a command line to its end and answers its exit status.
DWORD Run(const std::wstring& command_line) {
    const kavrel::testing::ChildEnd end = kavrel::testing::RunToEnd(command_line, 120000);
    if (!end.started) {
        ADD_FAILURE() << kavrel::testing::StartFailure(command_line, end);
        return ~0u;
    }
    if (!end.finished) {
        ADD_FAILURE() << WideToUtf8(command_line) << " did not end within two minutes";
        return ~0u;
    }
    return end.status;
}

std::wstring TempFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
    const std::vector<char> bytes = FileBytes(path);
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    std::copy(bytes.begin(), bytes.begin() + text.size() * sizeof(wchar_t),
              reinterpret_cast<char*>(text.data()));
    std::vector<std::wstring> lines;
    std::wstringstream stream(text);
    for (std::wstring line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// msiexec, silent, with a verbose log whose actions are shown when a check fails.
struct MsiexecResult {
    DWORD status;
    std::string actions;
};

MsiexecResult Msiexec(const std::wstring& arguments) {
    const std::wstring log = TempFile(L"kavrel-msiexec.log");
    DeleteFileW(log.c_str());
    const DWORD status = Run(L"msiexec.exe " + arguments + L" /qn /l*v \"" + log + L"\"");
    // Which actions ran and how each ended say why; Wine writes the log in
    // 8-bit text.
    std::ifstream in(log.c_str());
    std::string trace = "\n--- actions of the msiexec log ---\n";
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Action ended", 0) == 0) {
            trace += line + "\n";
        }
    }
    return {status, trace};
}

MsiexecResult Install(const std::wstring& package, const std::wstring& properties = L"") {
    return Msiexec(L"/i \"" + package + L"\"" + (properties.empty() ? L"" : L" " + properties));
}

MsiexecResult Uninstall(const std::wstring& package_or_product) {
    return Msiexec(L"/x \"" + package_or_product + L"\"");
}

// One architecture's package and the tools to check it.
struct Architecture {
    const char* name;
    const wchar_t* platform;       // the summary's template: Intel or x64
    REGSAM view;                   // the registry view its keys belong in
    REGSAM other_view;             // the view that must stay untouched
    const wchar_t* program_files;  // the environment variable of its Program Files
    std::wstring package;
    std::wstring library;  // the library built for it
    std::wstring probe;    // install_probe of its architecture; empty when it cannot run here
    std::wstring folder() const { return Environment(program_files) + L"\\KAVREL"; }
    std::wstring installed() const { return folder() + L"\\kavrel.dll"; }
};

Architecture& X86() {
    static Architecture arch{
        "x86",
        L"Intel",
        KEY_WOW64_32KEY,
        KEY_WOW64_64KEY,
        L"ProgramFiles(x86)",
        UnixPath(L"KAVREL_PACKAGE_X86"),
        UnixPath(L"KAVREL_LIBRARY_X86"),
        Environment(L"KAVREL_RUNS_32BIT") == L"1" ? UnixPath(L"KAVREL_PROBE_X86") : L""};
    return arch;
}

Architecture& X64() {
    static Architecture arch{"x64",
                             L"x64",
                             KEY_WOW64_64KEY,
                             KEY_WOW64_32KEY,
                             L"ProgramFiles",
                             UnixPath(L"KAVREL_PACKAGE_X64"),
                             UnixPath(L"KAVREL_LIBRARY_X64"),
                             UnixPath(L"KAVREL_PROBE_X64")};
    return arch;
}

// Everything of the add-on in one registry view: the class and the vendor tree.
std::vector<std::wstring> RegistrationIn(REGSAM view) {
    std::vector<std::wstring> lines = SnapshotTree(HKEY_LOCAL_MACHINE, kClassKey, view, kClassKey);
    const std::vector<std::wstring> vendor =
        SnapshotTree(HKEY_LOCAL_MACHINE, kVendorKey, view, kVendorKey);
    lines.insert(lines.end(), vendor.begin(), vendor.end());
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::vector<std::wstring> Capture(const std::wstring& probe, const std::wstring& library) {
    const std::wstring out = TempFile(L"kavrel-registration.txt");
    DeleteFileW(out.c_str());
    EXPECT_EQ(Run(L"\"" + probe + L"\" capture \"" + library + L"\" \"" + out + L"\""), 0u)
        << "the registration capture failed";
    std::vector<std::wstring> lines = ReadLines(out);
    std::sort(lines.begin(), lines.end());
    EXPECT_FALSE(lines.empty()) << "the registration wrote nothing";
    return lines;
}

// What DllRegisterServer plus M2DllRegisterAddOn write for the library
// installed at `installed`, captured from a process of its architecture.
// Where 32-bit code cannot run, the 64-bit build (the same source) is put at
// the 32-bit file's place for the capture, so that it registers that path.
std::vector<std::wstring> LibraryRegistration(const Architecture& arch,
                                              const std::wstring& installed) {
    if (!arch.probe.empty()) {
        return Capture(arch.probe, installed);
    }
    static bool said = false;
    if (!said) {
        said = true;
        std::printf(
            "x86: the registration is captured from the 64-bit build put at the 32-bit "
            "file's path: no 32-bit process here\n");
    }
    const std::wstring aside = installed + L".aside";
    EXPECT_TRUE(MoveFileExW(installed.c_str(), aside.c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_TRUE(CopyFileW(X64().library.c_str(), installed.c_str(), FALSE));
    std::vector<std::wstring> lines = Capture(X64().probe, installed);
    EXPECT_TRUE(MoveFileExW(aside.c_str(), installed.c_str(), MOVEFILE_REPLACE_EXISTING));
    return lines;
}

// The file the class's object came from, created by class id in a process of
// the architecture; empty when that failed.
std::wstring CreatedFrom(const Architecture& arch) {
    const std::wstring out = TempFile(L"kavrel-created.txt");
    DeleteFileW(out.c_str());
    if (Run(L"\"" + arch.probe + L"\" create \"" + out + L"\"") != 0) {
        return L"";
    }
    const std::vector<std::wstring> lines = ReadLines(out);
    return lines.empty() ? L"" : lines.front();
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// What is left of the add-on anywhere, one line each; empty when nothing.
std::string Leftovers() {
    std::string left;
    for (const Architecture* arch : {&X86(), &X64()}) {
        if (FileExists(arch->folder())) {
            left += WideToUtf8(arch->folder()) + "\n";
        }
        for (const std::wstring& key : {kClassKey, kHostEntryKey}) {
            if (KeyExists(HKEY_LOCAL_MACHINE, key, arch->view)) {
                left += std::string(arch->name) + " view: " + WideToUtf8(key) + "\n";
            }
        }
    }
    return left;
}

void WriteOtherAddonEntry(REGSAM view) {
    RegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kOtherAddonKey.c_str(), 0, nullptr, 0,
                              KEY_WRITE | view, nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
}

// The vendor tree exists only through the tests (the prefix has no host).
void DeleteVendorTree(REGSAM view) {
    RegKey software;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, software.put()) ==
        ERROR_SUCCESS) {
        RegDeleteTreeW(software.get(), L"Albea");
    }
}

// Why a package is missing (the 32-bit tree was not built), for GTEST_SKIP.
std::string NoPackageWhy(const Architecture& arch) {
    return "no " + std::string(arch.name) +
           " package: " + WideToUtf8(Environment(L"KAVREL_NO_X86_PACKAGE_WHY"));
}

// The installed add-on of one architecture is what its library registers,
// in its own registry view only.
void ExpectRegisteredAsTheLibraryDoes(const Architecture& arch) {
    SCOPED_TRACE(arch.name);
    EXPECT_EQ(RegistrationIn(arch.view), LibraryRegistration(arch, arch.installed()));
    EXPECT_EQ(RegistrationIn(arch.other_view), std::vector<std::wstring>{})
        << "keys in the other architecture's view";
}

class InstallerPackages : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(Leftovers(), "") << "an earlier test left the add-on installed";
    }
    // A test that failed half-way leaves nothing for the next one.
    void TearDown() override {
        for (const Architecture* arch : {&X86(), &X64()}) {
            if (!arch->package.empty()) {
                for (const std::wstring& product :
                     RelatedProducts(ReadPackage(arch->package).upgrade_code)) {
                    Uninstall(product);
                }
            }
        }
        DeleteVendorTree(KEY_WOW64_32KEY);
        DeleteVendorTree(KEY_WOW64_64KEY);
    }
};

// The package carries the version of the library it installs (the one
// version of CMakeLists.txt) and the platform of its architecture.
void ExpectPackageOfTheLibrary(const Architecture& arch) {
    SCOPED_TRACE(arch.name);
    const PackageFacts facts = ReadPackage(arch.package);
    DWORD ignored = 0;
    std::vector<BYTE> info(GetFileVersionInfoSizeW(arch.library.c_str(), &ignored));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(
        GetFileVersionInfoW(arch.library.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    const std::wstring three = std::to_wstring(HIWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(LOWORD(fixed->dwFileVersionMS)) + L"." +
                               std::to_wstring(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(facts.product_version, three);
    EXPECT_EQ(facts.library_version,
              three + L"." + std::to_wstring(LOWORD(fixed->dwFileVersionLS)));
    EXPECT_EQ(facts.platform, arch.platform);
    EXPECT_NE(arch.package.find(L"kavrel-" + three + L"-" + Wide(arch.name) + L".msi"),
              std::wstring::npos);
}

TEST_F(InstallerPackages, TheTwoArchitecturesAreTwoProducts) {
    if (X86().package.empty()) {
        GTEST_SKIP() << NoPackageWhy(X86());
    }
    const PackageFacts x86 = ReadPackage(X86().package);
    const PackageFacts x64 = ReadPackage(X64().package);
    EXPECT_NE(x86.upgrade_code, x64.upgrade_code);
    EXPECT_NE(x86.product_code, x64.product_code);
}

class EachPackage : public InstallerPackages,
                    public ::testing::WithParamInterface<Architecture& (*)()> {};

TEST_P(EachPackage, InstallsWhatTheLibraryRegistersAndUninstallsIt) {
    const Architecture& arch = GetParam()();
    if (arch.package.empty()) {
        GTEST_SKIP() << NoPackageWhy(arch);
    }
    ExpectPackageOfTheLibrary(arch);
    const MsiexecResult installed = Install(arch.package);
    ASSERT_EQ(installed.status, 0u) << installed.actions;

    EXPECT_EQ(FileBytes(arch.installed()), FileBytes(arch.library))
        << WideToUtf8(arch.installed()) << " is not the built library";
    ExpectRegisteredAsTheLibraryDoes(arch);
    if (arch.probe.empty()) {
        std::printf("x86: creating the class by its id needs a 32-bit process: not checked\n");
    } else {
        EXPECT_TRUE(SamePath(CreatedFrom(arch), arch.installed()))
            << "the class was not created from the installed library";
    }

    WriteOtherAddonEntry(arch.view);
    const MsiexecResult removed = Uninstall(arch.package);
    ASSERT_EQ(removed.status, 0u) << removed.actions;
    EXPECT_EQ(Leftovers(), "");
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kOtherAddonKey, arch.view))
        << "uninstalling removed another add-on's entry";
}

INSTANTIATE_TEST_SUITE_P(Architectures, EachPackage, ::testing::Values(&X86, &X64),
                         [](const auto& info) { return std::string(info.param().name); });

TEST_F(InstallerPackages, BothArchitecturesInstallSideBySideAndLeaveOneAnother) {
    if (X86().package.empty()) {
        GTEST_SKIP() << NoPackageWhy(X86());
    }
    for (const Architecture* arch : {&X64(), &X86()}) {
        const MsiexecResult installed = Install(arch->package);
        ASSERT_EQ(installed.status, 0u) << arch->name << installed.actions;
    }
    EXPECT_EQ(RegistrationIn(X64().view), LibraryRegistration(X64(), X64().installed()));
    EXPECT_EQ(RegistrationIn(X86().view), LibraryRegistration(X86(), X86().installed()));

    const MsiexecResult removed = Uninstall(X64().package);
    ASSERT_EQ(removed.status, 0u) << removed.actions;
    EXPECT_FALSE(FileExists(X64().folder()));
    EXPECT_EQ(RegistrationIn(X64().view), std::vector<std::wstring>{});
    EXPECT_TRUE(FileExists(X86().installed()));
    ExpectRegisteredAsTheLibraryDoes(X86());

    const MsiexecResult removed_x86 = Uninstall(X86().package);
    ASSERT_EQ(removed_x86.status, 0u) << removed_x86.actions;
    EXPECT_EQ(Leftovers(), "");
}

TEST_F(InstallerPackages, UpgradesDowngradesReinstallsAndRepairsLeaveOneInstallation) {
    const std::wstring older = UnixPath(L"KAVREL_PACKAGE_X64_OLDER");
    const PackageFacts older_facts = ReadPackage(older);
    const PackageFacts current = ReadPackage(X64().package);
    ASSERT_NE(older_facts.product_version, current.product_version);
    ASSERT_EQ(older_facts.upgrade_code, current.upgrade_code);

    const MsiexecResult old_install = Install(older);
    ASSERT_EQ(old_install.status, 0u) << old_install.actions;
    EXPECT_EQ(RelatedProducts(current.upgrade_code),
              std::vector<std::wstring>{older_facts.product_code});

    const MsiexecResult upgrade = Install(X64().package);
    ASSERT_EQ(upgrade.status, 0u) << upgrade.actions;
    EXPECT_EQ(RelatedProducts(current.upgrade_code),
              std::vector<std::wstring>{current.product_code});
    EXPECT_EQ(InstalledVersion(current.product_code), current.product_version);
    ExpectRegisteredAsTheLibraryDoes(X64());

    // A package older than the installed product is refused by its launch condition.
    const MsiexecResult downgrade = Install(older);
    EXPECT_EQ(downgrade.status, static_cast<DWORD>(ERROR_INSTALL_FAILURE)) << downgrade.actions;
    EXPECT_EQ(RelatedProducts(current.upgrade_code),
              std::vector<std::wstring>{current.product_code});

    // The same version again is the same product, never a second copy: the
    // same file is maintenance (0); a package of that version built again
    // has the same product code and is refused by Windows Installer (1638),
    // where Wine takes it as maintenance too (0).
    const std::wstring rebuilt = UnixPath(L"KAVREL_PACKAGE_X64_REBUILT");
    EXPECT_EQ(ReadPackage(rebuilt).product_code, current.product_code);
    const MsiexecResult again = Install(X64().package);
    EXPECT_EQ(again.status, 0u) << again.actions;
    const MsiexecResult again_rebuilt = Install(rebuilt);
    EXPECT_TRUE(again_rebuilt.status == 0u ||
                again_rebuilt.status == static_cast<DWORD>(ERROR_PRODUCT_VERSION))
        << again_rebuilt.status << again_rebuilt.actions;
    EXPECT_EQ(RelatedProducts(current.upgrade_code),
              std::vector<std::wstring>{current.product_code});
    ExpectRegisteredAsTheLibraryDoes(X64());

    // A repair brings back a deleted library and host entry. (Wine gap:
    // Wine's msiexec fails "/fa"; the same repair through its properties.)
    ASSERT_TRUE(DeleteFileW(X64().installed().c_str()));
    DeleteVendorTree(X64().view);
    const MsiexecResult repaired = Install(X64().package, L"REINSTALL=ALL REINSTALLMODE=amus");
    EXPECT_EQ(repaired.status, 0u) << repaired.actions;
    EXPECT_EQ(FileBytes(X64().installed()), FileBytes(X64().library));
    ExpectRegisteredAsTheLibraryDoes(X64());

    const MsiexecResult removed = Uninstall(X64().package);
    ASSERT_EQ(removed.status, 0u) << removed.actions;
    EXPECT_EQ(RelatedProducts(current.upgrade_code), std::vector<std::wstring>{});
    EXPECT_EQ(Leftovers(), "");
}

TEST_F(InstallerPackages, AFolderWithoutSpacesIsRegisteredByItsFullName) {
    const std::wstring folder = L"C:\\KavrelAddOn";
    const std::wstring library = folder + L"\\kavrel.dll";
    const MsiexecResult installed = Install(X64().package, L"INSTALLFOLDER=" + folder + L"\\");
    ASSERT_EQ(installed.status, 0u) << installed.actions;
    ASSERT_TRUE(FileExists(library));
    EXPECT_EQ(RegistrationIn(X64().view), Capture(X64().probe, library));

    // Wine gap: Wine's msi resolves INSTALLFOLDER anew when removing the
    // product, not from where its components were installed; without the
    // folder given again it removes the keys but leaves the file.
    const MsiexecResult removed =
        Msiexec(L"/x \"" + X64().package + L"\" INSTALLFOLDER=" + folder + L"\\");
    ASSERT_EQ(removed.status, 0u) << removed.actions;
    EXPECT_FALSE(FileExists(folder));
    EXPECT_EQ(Leftovers(), "");
}

}  // namespace
}  // namespace kavrel::test
