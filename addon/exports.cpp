// The library's exports. Each answers an HRESULT and lets no exception out:
// the registration bodies run inside the frame's export boundary, and a
// failure is E_FAIL (the host is not connected while it registers the library).
#include <windows.h>

#include <string>
#include <utility>

#include "base/errors.h"
#include "frame/com_server.h"
#include "frame/library_refs.h"
#include "frame/registration.h"

extern "C" {

// Also declared by the system headers, except the host's own entry.
HRESULT __stdcall M2DllRegisterAddOn(const char* applied_name, BOOL active) noexcept;

HRESULT __stdcall M2DllRegisterAddOn(const char* applied_name, BOOL active) noexcept {
    return kavrel::RegisterAddOnExport(applied_name, active);
}

HRESULT __stdcall DllRegisterServer() {
    return kavrel::RegisterServerExport();
}

HRESULT __stdcall DllUnregisterServer() {
    return kavrel::UnregisterServerExport();
}

HRESULT __stdcall DllGetClassObject(REFCLSID class_id, REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    return kavrel::HResultBoundary(
        [&] {
            kavrel::TComObjectFactory* factory =
                kavrel::ComServer ? kavrel::ComServer->FindFactory(class_id) : nullptr;
            if (!factory) {
                return CLASS_E_CLASSNOTAVAILABLE;
            }
            return factory->QueryInterface(iid, object);
        },
        [](const std::u16string&) noexcept { return E_FAIL; });
}

HRESULT __stdcall DllCanUnloadNow() {
    return !kavrel::ComServer || kavrel::ComServer->CanUnloadNow() ? S_OK : S_FALSE;
}

}  // extern "C"
