// The host's error channel: the SDK layer's failing statuses come back as
// exceptions with the host's own text (CheckHostResult), and the add-on's
// failures go to the host through IHostErrorInfo.SetError at the COM boundary
// (ComBoundary), on the one mapping of base/errors.h.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <utility>

#include "base/com_ptr.h"
#include "base/errors.h"
#include "gis/host_api.h"

namespace kavrel::gis {

// The host's error channel; set while connected.
extern ComPtr<IHostErrorInfo> HostErrors;

// SDK layer: returns the status when it is no failure, else raises
// EHResultError with B + ". [" + A + "]" of IHostErrorInfo.GetLastError, or an
// empty text when the error channel is missing or that call fails.
HRESULT CheckHostResult(HRESULT status);

// Reports the message to the host through IHostErrorInfo.SetError (source
// first, each cut to 255 characters) when the channel is set; always E_FAIL.
HRESULT ReportError(std::u16string_view message, std::u16string_view source) noexcept;

// The COM boundary: runs body, answers its HRESULT, and turns any exception
// into ReportError(message, source).
template <typename Body>
HRESULT ComBoundary(std::u16string_view source, Body&& body) noexcept {
    return HResultBoundary(
        std::forward<Body>(body),
        [source](const std::u16string& message) noexcept { return ReportError(message, source); });
}

}  // namespace kavrel::gis
