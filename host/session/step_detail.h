// The report's line saying what a step acts on: the selected ids, the
// command, the control and the typed text.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace kavrel::host {

std::string StepDetail(const nlohmann::json& step);

}  // namespace kavrel::host
