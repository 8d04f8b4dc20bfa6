// Members of a script step, read with the session's errors ("<path>: "form"
// must be a text"), and the text conversions the runner needs.
#pragma once

#include <windows.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace kavrel::host {

std::string StepText(const nlohmann::json& step, const char* name, const std::string& path);
// An integer member; `fallback` when it is absent and a fallback is given.
long StepNumber(const nlohmann::json& step, const char* name, const std::string& path,
                std::optional<long> fallback = std::nullopt);

// "0x80004005".
std::string StatusText(HRESULT status);

}  // namespace kavrel::host
