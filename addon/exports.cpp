// The library's exports. Each answers an HRESULT and lets no exception out:
// the bodies run inside the same boundary as the COM methods, and a failure is
// E_FAIL (the host is not connected while it registers the library).
#include <windows.h>

#include <string>
#include <utility>

#include "base/errors.h"
#include "frame/com_server.h"
#include "frame/library_refs.h"
#include "frame/registration.h"

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

template <typename Body>
HRESULT ExportBoundary(Body&& body) noexcept {
    return kavrel::HResultBoundary(std::forward<Body>(body),
                                   [](const std::u16string&) noexcept { return E_FAIL; });
}

}  // namespace

extern "C" {

// Also declared by the system headers, except the host's own entry.
HRESULT __stdcall M2DllRegisterAddOn(const char* applied_name, BOOL active) noexcept;

HRESULT __stdcall M2DllRegisterAddOn(const char* applied_name, BOOL active) noexcept {
    return ExportBoundary([&] {
        kavrel::RegisterAddons(AnsiToWide(applied_name), active != FALSE);
        return S_OK;
    });
}

HRESULT __stdcall DllRegisterServer() {
    return ExportBoundary([] {
        kavrel::RegisterComServer();
        return S_OK;
    });
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
    return ExportBoundary([&] {
        kavrel::TComObjectFactory* factory =
            kavrel::ComServer ? kavrel::ComServer->FindFactory(class_id) : nullptr;
        if (!factory) {
            return CLASS_E_CLASSNOTAVAILABLE;
        }
        return factory->QueryInterface(iid, object);
    });
}

HRESULT __stdcall DllCanUnloadNow() {
    return !kavrel::ComServer || kavrel::ComServer->CanUnloadNow() ? S_OK : S_FALSE;
}

}  // extern "C"
