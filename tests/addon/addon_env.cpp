#include "tests/addon/addon_env.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/handle_casts.h"
#include "host/com/host_context.h"
#include "tests/addon/test_host.h"
#include "tests/support/child_process.h"

namespace kavrel::test {
namespace {

HMODULE g_module = nullptr;
std::vector<HBITMAP> g_command_bitmaps;
std::vector<host::HostContext*> g_stand_in_hosts;

class AddonEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        // Registered the way an installer does it.
        ASSERT_EQ(RunProcess(L"regsvr32.exe /s \"" + AddonDllPath() + L"\""), 0u);
        // Held for the whole run so that export calls and COM objects meet
        // the same library instance.
        g_module = LoadLibraryW(AddonDllPath().c_str());
        ASSERT_NE(g_module, nullptr);
    }
    void TearDown() override {
        // Unload as a host does when it lets the library go: COM's hold first,
        // then ours.
        ASSERT_EQ(CallDllCanUnloadNow(), S_OK) << "a test left an object of the library alive";
        CoFreeUnusedLibrariesEx(0, 0);
        if (g_module) {
            FreeLibrary(g_module);
            g_module = nullptr;
        }
        EXPECT_EQ(GetModuleHandleW(L"kavrel.dll"), nullptr) << "the library is still loaded";
        // The unload released the application reference and the command bitmaps.
        for (const TestHost* host : AllHosts()) {
            EXPECT_EQ(host->HeldReferences(), 0)
                << "a host object is still referenced after unload";
        }
        for (host::HostContext* host : g_stand_in_hosts) {
            EXPECT_TRUE(host->accounting().OutstandingReferences().empty())
                << "a stand-in host object is still referenced after unload";
        }
        for (HBITMAP bitmap : g_command_bitmaps) {
            EXPECT_EQ(GetObjectType(bitmap), 0u) << "a command bitmap outlived the library";
        }
        CoUninitialize();
    }
};

[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new AddonEnvironment);

}  // namespace

std::wstring AddonDllPath() {
    std::wstring path = L"Z:" KAVREL_DLL_PATH_W;
    for (wchar_t& ch : path) {
        if (ch == L'/') {
            ch = L'\\';
        }
    }
    return path;
}

HMODULE AddonModule() {
    return g_module;
}

void RememberCommandBitmap(HBITMAP bitmap) {
    g_command_bitmaps.push_back(bitmap);
}

host::HostContext& NewStandInHost() {
    g_stand_in_hosts.push_back(new host::HostContext(host::MapModel{}, u','));
    return *g_stand_in_hosts.back();
}

std::vector<Report> ReportedErrors(host::HostContext& host) {
    std::vector<Report> reports;
    for (const host::ReportedError& error : host.reported_errors()) {
        reports.emplace_back(error.source, error.message);
    }
    return reports;
}

namespace {

// The export as a function of its own type.
template <typename F>
F Export(const char* name) {
    const F proc = g_module ? ProcAddress<F>(g_module, name) : nullptr;
    EXPECT_NE(proc, nullptr) << name;
    return proc;
}

}  // namespace

HRESULT CallDllCanUnloadNow() {
    return Export<HRESULT(__stdcall*)()>("DllCanUnloadNow")();
}

HRESULT CallDllGetClassObject(REFCLSID class_id, REFIID iid, void** object) {
    return Export<HRESULT(__stdcall*)(REFCLSID, REFIID, void**)>("DllGetClassObject")(class_id, iid,
                                                                                      object);
}

HRESULT CallM2DllRegisterAddOn(const char* applied_name, BOOL active) {
    return Export<HRESULT(__stdcall*)(const char*, BOOL)>("M2DllRegisterAddOn")(applied_name,
                                                                                active);
}

HRESULT CallDllRegisterServer() {
    return Export<HRESULT(__stdcall*)()>("DllRegisterServer")();
}

HRESULT CallDllUnregisterServer() {
    return Export<HRESULT(__stdcall*)()>("DllUnregisterServer")();
}

ComPtr<IHostAddOn> CreateAddon() {
    ComPtr<IHostAddOn> addon;
    const HRESULT status = CoCreateInstance(kAddonClassId, nullptr, CLSCTX_INPROC_SERVER,
                                            __uuidof(IHostAddOn), addon.put_void());
    EXPECT_EQ(status, S_OK);
    return addon;
}

DWORD RunProcess(const std::wstring& command_line) {
    const kavrel::testing::ChildEnd end = kavrel::testing::RunToEnd(command_line, 60000);
    if (!end.started) {
        ADD_FAILURE() << kavrel::testing::StartFailure(command_line, end);
        return ~0u;
    }
    return end.status;
}

}  // namespace kavrel::test
