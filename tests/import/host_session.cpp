#include "tests/import/host_session.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/import/dialog_probe.h"
#include "tests/support/child_process.h"

namespace kavrel::test {
namespace {

std::wstring AddonDllPath() {
    std::wstring path = L"Z:" KAVREL_DLL_PATH_W;
    for (wchar_t& ch : path) {
        if (ch == L'/') {
            ch = L'\\';
        }
    }
    return path;
}

}  // namespace

void RegisterAddonOnce() {
    static const bool registered = [] {
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
            return false;
        }
        const kavrel::testing::ChildEnd end =
            kavrel::testing::RunToEnd(L"regsvr32.exe /s \"" + AddonDllPath() + L"\"", 60000);
        if (!end.started) {
            ADD_FAILURE() << kavrel::testing::StartFailure(L"regsvr32.exe", end);
        }
        return end.finished && end.status == 0;
    }();
    ASSERT_TRUE(registered) << "kavrel.dll could not be registered";
}

HostSession::HostSession(char16_t separator)
    : host_(*new host::HostContext(host::MapModel{}, separator)) {
    RegisterAddonOnce();
    const HRESULT created = CoCreateInstance(kAddonClassId, nullptr, CLSCTX_INPROC_SERVER,
                                             __uuidof(IHostAddOn), addon_.put_void());
    EXPECT_EQ(created, S_OK);
}

HostSession::~HostSession() {
    if (connected_) {
        Disconnect();
    }
    PumpMessages();
}

HRESULT HostSession::Connect() {
    HRESULT result = addon_->Connect(host_.HostObject());
    if (SUCCEEDED(result)) {
        connected_ = true;
        ComPtr<IM2MacroAttrsList> commands;
        result = addon_->GetMacroAttrs(commands.put());
    }
    return result;
}

HRESULT HostSession::Disconnect() {
    connected_ = false;
    return addon_->Disconnect();
}

HRESULT HostSession::Command(LONG id) {
    return addon_->ExecuteMacro(id, 0);
}

}  // namespace kavrel::test
