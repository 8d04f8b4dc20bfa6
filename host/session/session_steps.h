// The steps a session script can give, as a table from the step's "do" to
// its handler (docs/sessions.md lists them).
#pragma once

#include <windows.h>

#include <nlohmann/json.hpp>
#include <string>

namespace kavrel::host {

class Session;

// One step being carried out: the script's object, the modal window it runs
// in (or none), its path ("2", "2.then[0]") and its "do".
struct StepCall {
    Session& session;
    const nlohmann::json& step;
    HWND scope;
    const std::string& path;
    const std::string& what;
};

// Carries out the step named by call.what; throws StepFailure when it cannot
// (an unknown step among them).
void RunNamedStep(const StepCall& call);

}  // namespace kavrel::host
