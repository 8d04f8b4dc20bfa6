// The add-on as the host finds it: registered with regsvr32 in the Wine
// prefix, loaded once for the whole run, created through CoCreateInstance.
#pragma once

#include "base/com_ptr.h"
#include "gis/host_api.h"

#include <string>
#include <utility>
#include <vector>

namespace kavrel::host {
class HostContext;
}

namespace kavrel::test {

// A report through IHostErrorInfo.SetError: source, message.
using Report = std::pair<std::u16string, std::u16string>;

// kavrel.dll as a Windows path.
std::wstring AddonDllPath();
// The loaded kavrel.dll.
HMODULE AddonModule();

HRESULT CallDllCanUnloadNow();
HRESULT CallDllGetClassObject(REFCLSID class_id, REFIID iid, void** object);
HRESULT CallM2DllRegisterAddOn(const char* applied_name, BOOL active);
HRESULT CallDllRegisterServer();
HRESULT CallDllUnregisterServer();

// A new add-on COM object, as the host creates it.
ComPtr<IHostAddOn> CreateAddon();

// A command bitmap handle the add-on handed out; checked to be deleted when
// the library is unloaded at the end of the run.
void RememberCommandBitmap(HBITMAP bitmap);

// The stand-in host over an empty map, for tests that need a working host
// rather than one that observes every call. Hosts live until the process
// ends, as the add-on may keep the application reference of one until it is
// unloaded; after the unload no reference to any of them may be left.
host::HostContext& NewStandInHost();
std::vector<Report> ReportedErrors(host::HostContext& host);

// Runs a command line, waits for it and answers its exit code.
DWORD RunProcess(const std::wstring& command_line);

// The add-on's caption, written out here rather than taken from the add-on.
inline constexpr std::u16string_view kCaption = u"Работа с высотными отметками";

}  // namespace kavrel::test
