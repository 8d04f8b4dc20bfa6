#include "gis/host_errors.h"

#include "base/short_string.h"

namespace kavrel::gis {

ComPtr<IHostErrorInfo> HostErrors;

HRESULT CheckHostResult(HRESULT status) {
    if (SUCCEEDED(status)) {
        return status;
    }
    std::u16string message;
    if (HostErrors) {
        M2Text255 a{};
        M2Text255 b{};
        if (SUCCEEDED(HostErrors->GetLastError(&a, &b))) {
            message = ReadShortStringWide(b) + u". [" + ReadShortStringWide(a) + u"]";
        }
    }
    throw EHResultError(std::move(message));
}

HRESULT ReportError(std::u16string_view message, std::u16string_view source) noexcept {
    try {
        if (HostErrors) {
            const M2Text255 source_text = MakeShortString<255>(source);
            const M2Text255 message_text = MakeShortString<255>(message);
            HostErrors->SetError(&source_text, &message_text);
        }
    } catch (...) {
        // The host is told what can be told; the answer stays E_FAIL.
    }
    return E_FAIL;
}

}  // namespace kavrel::gis
