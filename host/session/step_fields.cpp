#include "host/session/step_fields.h"

#include "base/utf8.h"
#include "host/session/session_error.h"

namespace kavrel::host {

std::string StepText(const nlohmann::json& step, const char* name, const std::string& path) {
    auto it = step.find(name);
    if (it == step.end() || !it->is_string()) {
        throw StepFailure(path + ": \"" + name + "\" must be a text");
    }
    return it->get<std::string>();
}

long StepNumber(const nlohmann::json& step, const char* name, const std::string& path,
                std::optional<long> fallback) {
    auto it = step.find(name);
    if (it == step.end() && fallback) {
        return *fallback;
    }
    if (it == step.end() || !it->is_number_integer()) {
        throw StepFailure(path + ": \"" + name + "\" must be an integer");
    }
    return it->get<long>();
}

std::string StatusText(HRESULT status) {
    char text[16];
    wsprintfA(text, "0x%08lX", static_cast<unsigned long>(status));
    return text;
}

}  // namespace kavrel::host
