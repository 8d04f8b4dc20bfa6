// What R.json reports of a session ("session": messages, host errors, calls,
// references, statuses, task panels, forms, the add-on, the legibility of the
// labels) and the header of the
// text report, read back from it.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "host/session/session_report.h"

namespace kavrel::host {

class AddonLoader;
class HostContext;
class Session;

nlohmann::ordered_json SessionResult(const Session& session, HostContext& host,
                                     const AddonLoader& loader);

// The "legibility" member: the host's counts on the map as loaded and at the end.
nlohmann::ordered_json LegibilityResult(const Legibility& before, const Legibility& after);

// The header of the text report, from the result file's members.
ReportHeader ReportHeaderOf(const std::wstring& project, const nlohmann::ordered_json& result,
                            std::size_t objects);

}  // namespace kavrel::host
