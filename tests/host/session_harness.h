// Runs maphost.exe as a separate process on a project and a script and reads
// back its result file, as the contract tests and the demo use it.
#pragma once

#include <windows.h>

#include <nlohmann/json.hpp>
#include <string>

#include "base/wide.h"

namespace kavrel::host {

struct SessionRun {
    DWORD exit_code = 0;
    bool has_result = false;
    nlohmann::json result;  // R.json
    std::string errors;     // what maphost wrote to its error output
};

// Writes P.json and S.json into a fresh folder of the temporary directory,
// runs `maphost run` with the add-on path (none: by class id) and waits.
SessionRun RunMaphost(const std::string& project, const nlohmann::json& script,
                      const std::wstring& addon, const std::wstring& picture = L"");

// Runs a program to its end; answers its exit code.
DWORD RunProgram(const std::wstring& command_line);

}  // namespace kavrel::host
