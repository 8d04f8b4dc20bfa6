// The bodies of the registration exports: each answers an HRESULT and lets no
// exception out.
#include <utility>

#include "base/errors.h"
#include "frame/registration.h"

namespace kavrel {
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
    return HResultBoundary(std::forward<Body>(body),
                           [](const std::u16string&) noexcept { return E_FAIL; });
}

}  // namespace

HRESULT RegisterAddOnExport(const char* applied_name, BOOL active) noexcept {
    return ExportBoundary([&] {
        RegisterAddons(AnsiToWide(applied_name), active != FALSE);
        return S_OK;
    });
}

HRESULT RegisterServerExport() noexcept {
    return ExportBoundary([] {
        RegisterComServer();
        return S_OK;
    });
}

HRESULT UnregisterServerExport() noexcept {
    return ExportBoundary([] {
        UnregisterComServer();
        return S_OK;
    });
}

}  // namespace kavrel
