// How failures travel. Inside the add-on every failure is a C++ exception whose
// message is what the user or the host is shown. This header is the one place
// that turns a failing HRESULT into an exception (CheckAutomation,
// CheckHostResult, CheckResult) and the one place that turns an exception back
// into an HRESULT at the COM boundary (ComBoundary).
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

namespace kavrel {

// A failure with a text for the user; the base of the add-on's own errors.
class AddonError : public std::exception {
public:
    explicit AddonError(std::u16string message) : message_(std::move(message)) {}
    const std::u16string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return "kavrel::AddonError"; }

private:
    std::u16string message_;
};

// A failing host status, carrying the host's own error text.
class EHResultError : public AddonError {
public:
    using AddonError::AddonError;
};

// A failing automation call: the description of the host's error information.
class EHostCallError : public AddonError {
public:
    EHostCallError(std::u16string message, HRESULT status)
        : AddonError(std::move(message)), status_(status) {}
    HRESULT status() const noexcept { return status_; }

private:
    HRESULT status_;
};

// The message of the exception being handled (call inside a catch block).
std::u16string CurrentExceptionMessage();

// The system's text for a status, without the trailing line break.
std::u16string SystemErrorText(HRESULT status);

// Automation layer: returns the status when it is no failure, else raises
// EHostCallError with the description the host attached (IErrorInfo) or, when
// it attached none, the system's text for the status.
HRESULT CheckAutomation(HRESULT status);

// SDK layer: returns the status when it is no failure, else raises
// EHResultError with B + ". [" + A + "]" of IHostErrorInfo.GetLastError, or an
// empty text when the error channel is missing or that call fails.
HRESULT CheckHostResult(HRESULT status);

// The same check with a fixed message.
HRESULT CheckResult(HRESULT status, std::u16string_view message);

// Reports the message to the host through IHostErrorInfo.SetError (source
// first, each cut to 255 characters) when the channel is set; always E_FAIL.
HRESULT ReportError(std::u16string_view message, std::u16string_view source) noexcept;

// The COM boundary: runs body, answers its HRESULT, and turns any exception
// into ReportError(message, source).
template <typename Body>
HRESULT ComBoundary(std::u16string_view source, Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        std::u16string message;
        try {
            message = CurrentExceptionMessage();
        } catch (...) {
        }
        return ReportError(message, source);
    }
}

}  // namespace kavrel
