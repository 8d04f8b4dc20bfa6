#include "host/com/window_guard.h"

#include <cstdio>

#include "base/errors.h"
#include "base/utf8.h"
#include "host/com/host_failure.h"

namespace kavrel::host {
namespace {

struct FailureLog {
    std::vector<CallbackFailure> kept;
    std::size_t count = 0;
};

FailureLog& Log() {
    static FailureLog log;
    return log;
}

std::u16string CurrentFailureText() {
    try {
        throw;
    } catch (const HostFailure& failure) {
        return failure.message;
    } catch (...) {
        return CurrentExceptionMessage();
    }
}

}  // namespace

std::vector<CallbackFailure> CallbackFailures() {
    return Log().kept;
}

std::size_t CallbackFailureCount() noexcept {
    return Log().count;
}

void ClearCallbackFailures() noexcept {
    Log().kept.clear();
    Log().count = 0;
}

void RecordCallbackFailure(UINT message) noexcept {
    ++Log().count;
    try {
        CallbackFailure failure{message, CurrentFailureText()};
        std::fprintf(stderr, "maphost: window message 0x%04X failed: %s\n", message,
                     WideToUtf8(failure.text).c_str());
        if (Log().kept.size() < kKeptCallbackFailures) {
            Log().kept.push_back(std::move(failure));
        }
    } catch (...) {
        // Out of memory for the text: the failure is still counted.
    }
}

}  // namespace kavrel::host
