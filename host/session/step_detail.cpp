#include "host/session/step_detail.h"

namespace kavrel::host {
namespace {

using nlohmann::json;

std::string SelectionDetail(const json& step) {
    auto ids = step.find("ids");
    if (ids == step.end() || !ids->is_array()) {
        return {};
    }
    std::string line = "selected " + std::to_string(ids->size()) + " objects";
    for (std::size_t i = 0; i < ids->size() && i < 6; ++i) {
        line +=
            (i == 0 ? ": " : ", ") + ((*ids)[i].is_string() ? (*ids)[i].get<std::string>() : "?");
    }
    return ids->size() > 6 ? line + ", ..." : line;
}

}  // namespace

std::string StepDetail(const json& step) {
    const std::string what = step.value("do", "");
    auto text = [&](const char* name) {
        auto it = step.find(name);
        return it != step.end() && it->is_string() ? it->get<std::string>() : std::string();
    };
    if (what == "select") {
        return SelectionDetail(step);
    }
    if (what == "command") {
        return "ExecuteMacro(" + std::to_string(step.value("id", 0L)) + ")";
    }
    if (what == "set_text") {
        if (step.contains("file")) {
            return text("form") + "." + text("control") + " := the text of " + text("file");
        }
        return text("form") + "." + text("control") + " := \"" + text("text") + "\"";
    }
    if (what == "read_text") {
        return text("form") + "." + text("control");
    }
    if (what == "check") {
        return text("form") + "." + text("control") +
               (step.value("checked", true) ? " on" : " off");
    }
    if (what == "click" || what == "double_click" || what == "choose") {
        return text("form") + "." + text("control") +
               (step.contains("then") ? " (modal steps inside)" : "");
    }
    return {};
}

}  // namespace kavrel::host
