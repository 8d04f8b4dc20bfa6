#include "tests/support/child_process.h"

#include "base/errors.h"
#include "base/kernel_handle.h"
#include "base/wide.h"

namespace kavrel::testing {

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
    end.finished = WaitForSingleObject(process.get(), timeout_ms) == WAIT_OBJECT_0;
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
