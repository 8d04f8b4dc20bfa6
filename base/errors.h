// How failures travel. Inside the add-on every failure is a C++ exception whose
// message is what the user or the host is shown. This header is the one place
// that turns a failing HRESULT into an exception (CheckAutomation, CheckResult;
// the SDK layer's CheckHostResult builds on them) and the one mapping from an
// exception back to a text (CurrentExceptionMessage) and to an HRESULT
// (HResultBoundary), which the COM boundary, the exports and the forms layer
// all use.
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

// The message of the exception being handled (call inside a catch block): an
// AddonError's own message, a fixed text for a failed allocation, a standard
// exception's what() read as UTF-8, kUnknownErrorText for anything else.
std::u16string CurrentExceptionMessage();

inline constexpr char16_t kUnknownErrorText[] = u"Неизвестная ошибка";
inline constexpr char16_t kOutOfMemoryText[] = u"Недостаточно памяти";

// The system's text for a status, without the trailing line break.
std::u16string SystemErrorText(HRESULT status);

// Automation layer: returns the status when it is no failure, else raises
// EHostCallError with the description the host attached (IErrorInfo) or, when
// it attached none, the system's text for the status.
HRESULT CheckAutomation(HRESULT status);

// The same check with a fixed message.
HRESULT CheckResult(HRESULT status, std::u16string_view message);

// Runs body and answers its HRESULT; an exception it throws becomes
// on_failure(message) (a noexcept callable answering the HRESULT), with the
// message CurrentExceptionMessage gives, or an empty one when even that fails.
template <typename Body, typename OnFailure>
HRESULT HResultBoundary(Body&& body, OnFailure&& on_failure) noexcept {
    try {
        return body();
    } catch (...) {
        std::u16string message;
        try {
            message = CurrentExceptionMessage();
        } catch (...) {
        }
        return on_failure(message);
    }
}

}  // namespace kavrel
