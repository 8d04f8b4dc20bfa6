// Programs the tests start as processes of their own (regsvr32, msiexec,
// maphost), run to their end.
#pragma once

#include <windows.h>

#include <string>

namespace kavrel::testing {

struct ChildEnd {
    bool started = false;   // false: CreateProcess refused; `status` is its error
    bool finished = false;  // false: it was ended after the timeout
    DWORD status = ~0u;     // the exit code
};

// Starts `command_line`, waits up to `timeout_ms` and ends a process that
// takes longer with status `kTimedOut`. A given `error_output` becomes the
// child's standard error (an inheritable handle).
inline constexpr DWORD kTimedOut = 0xDEAD;
ChildEnd RunToEnd(std::wstring command_line, DWORD timeout_ms, HANDLE error_output = nullptr);

// "cannot start <command line>: error <code> (<the system's text>)", for a
// start that CreateProcess refused.
std::string StartFailure(const std::wstring& command_line, const ChildEnd& end);

}  // namespace kavrel::testing
