// The library's exports. Each answers an HRESULT and lets no exception out.
#include <windows.h>

#include <string>

#include "addon/com_server.h"
#include "addon/library_refs.h"
#include "addon/registration.h"

namespace {

// An 8-bit text from the host: the system's ANSI code page.
std::u16string AnsiToWide(const char* text) {
    if (!text || !*text) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1) {
        return {};
    }
    std::u16string wide(static_cast<std::size_t>(length), u'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, reinterpret_cast<wchar_t*>(wide.data()), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

}  // namespace

extern "C" {

// Also declared by the system headers, except the host's own entry.
HRESULT __stdcall M2DllRegisterAddOn(const char* applied_name, BOOL active);

HRESULT __stdcall M2DllRegisterAddOn(const char* applied_name, BOOL active) {
    try {
        kavrel::RegisterAddons(AnsiToWide(applied_name), active != FALSE);
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT __stdcall DllRegisterServer() {
    try {
        kavrel::RegisterComServer();
        return S_OK;
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT __stdcall DllUnregisterServer() {
    kavrel::UnregisterComServer();
    return S_OK;
}

HRESULT __stdcall DllGetClassObject(REFCLSID class_id, REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    try {
        kavrel::TComObjectFactory* factory =
            kavrel::ComServer ? kavrel::ComServer->FindFactory(class_id) : nullptr;
        if (!factory) {
            return CLASS_E_CLASSNOTAVAILABLE;
        }
        return factory->QueryInterface(iid, object);
    } catch (...) {
        return E_FAIL;
    }
}

HRESULT __stdcall DllCanUnloadNow() {
    return !kavrel::ComServer || kavrel::ComServer->CanUnloadNow() ? S_OK : S_FALSE;
}

}  // extern "C"
