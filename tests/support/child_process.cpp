#include "tests/support/child_process.h"

#include <cstdlib>

#include "base/errors.h"
#include "base/kernel_handle.h"
#include "base/wide.h"

namespace kavrel::testing {
namespace {

// The limits are measured on machines that run the code natively. A run under
// emulation sets KAVREL_TEST_TIMEOUT_SCALE, a whole number, which multiplies
// CTest's limits and these alike.
DWORD Scaled(DWORD timeout_ms) {
    const char* text = std::getenv("KAVREL_TEST_TIMEOUT_SCALE");
    const long scale = text ? std::strtol(text, nullptr, 10) : 1;
    return scale > 1 && scale <= 100 ? timeout_ms * static_cast<DWORD>(scale) : timeout_ms;
}

}  // namespace

ChildEnd RunToEnd(std::wstring command_line, DWORD timeout_ms, HANDLE error_output) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (error_output) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = error_output;
    }
    PROCESS_INFORMATION started{};
    ChildEnd end;
    if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, error_output != nullptr, 0,
                        nullptr, nullptr, &startup, &started)) {
        end.status = GetLastError();
        return end;
    }
    end.started = true;
    const KernelHandle process(started.hProcess), thread(started.hThread);
    end.finished = WaitForSingleObject(process.get(), Scaled(timeout_ms)) == WAIT_OBJECT_0;
    if (!end.finished) {
        TerminateProcess(process.get(), kTimedOut);
        WaitForSingleObject(process.get(), 10000);
    }
    GetExitCodeProcess(process.get(), &end.status);
    return end;
}

std::string StartFailure(const std::wstring& command_line, const ChildEnd& end) {
    return "cannot start " + WideToUtf8(command_line) + ": error " + std::to_string(end.status) +
           " (" + WideToUtf8(SystemErrorText(static_cast<HRESULT>(end.status))) + ")";
}

}  // namespace kavrel::testing
