#include "host/session/session_runner.h"

#include <iostream>
#include <nlohmann/json.hpp>

#include "base/file_bytes.h"
#include "host/com/host_context.h"
#include "host/com/map_painter.h"
#include "host/model/project_file.h"
#include "host/session/addon_loader.h"
#include "host/session/map_picture.h"
#include "host/session/regional_decimal.h"
#include "host/session/session.h"
#include "host/session/session_error.h"
#include "host/session/session_report.h"
#include "host/session/session_result.h"
#include "host/session/window_picture.h"

namespace kavrel::host {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

// What the command line names, read and checked before anything runs.
struct SessionInput {
    MapModel model;
    json script;
    char16_t separator = u',';
};

// Reads the project and the script; says why on the error output when either
// is refused.
std::optional<SessionInput> ReadInput(const SessionOptions& options) {
    const auto project_text = ReadFileBytes(options.project);
    if (!project_text) {
        std::cerr << "maphost: cannot read the project file\n";
        return std::nullopt;
    }
    const auto script_text = ReadFileBytes(options.script);
    if (!script_text) {
        std::cerr << "maphost: cannot read the script file\n";
        return std::nullopt;
    }
    SessionInput input;
    try {
        input.script = json::parse(*script_text);
    } catch (const json::parse_error& e) {
        std::cerr << "maphost: the script is not JSON (byte " << e.byte << ")\n";
        return std::nullopt;
    }
    if (auto it = input.script.find("decimal"); it != input.script.end()) {
        if (!it->is_string() || (*it != "," && *it != ".")) {
            std::cerr << "maphost: \"decimal\" must be \",\" or \".\"\n";
            return std::nullopt;
        }
        input.separator = it->get<std::string>() == "." ? u'.' : u',';
    }
    if (!input.script.contains("steps") || !input.script["steps"].is_array()) {
        std::cerr << "maphost: the script has no \"steps\" array\n";
        return std::nullopt;
    }
    try {
        input.model = LoadProject(*project_text);
    } catch (const ProjectError& e) {
        std::cerr << e.what() << "\n";
        return std::nullopt;
    }
    return input;
}

// The pictures and the text report the options ask for, after the steps.
void WriteExtras(const SessionOptions& options, HostContext& host, const Session& session,
                 const ordered_json& result) {
    if (options.picture &&
        !WriteMapPicture(host, *options.picture, options.picture_width, options.picture_height)) {
        std::cerr << "maphost: cannot write the picture\n";
    }
    if (options.window || options.panel) {
        ShowMainWindowForPictures(host, options.window_width, options.window_height);
        if (options.window && !WriteWindowPicture(host.main_window(), *options.window)) {
            std::cerr << "maphost: cannot write the picture of the main window\n";
        }
        if (options.panel && !WriteWindowPicture(ShownTaskPanelWindow(host), *options.panel)) {
            std::cerr << "maphost: cannot write the picture of the task panel (none shown?)\n";
        }
    }
    for (const auto& [type, path] : options.form_pictures) {
        const HWND form = FindWindowW(type.c_str(), nullptr);
        if (form) {
            // Above the host's windows, as the user would look at it.
            SetWindowPos(form, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        if (!form || !IsWindowVisible(form) || !WriteWindowPicture(form, path)) {
            std::cerr << "maphost: cannot write the picture of a form (none of that type shown?)\n";
        }
    }
    if (options.report) {
        const std::string text =
            FormatReport(ReportHeaderOf(options.project, result, host.model().objects().size()),
                         session.records());
        if (!WriteFileBytes(*options.report, text)) {
            std::cerr << "maphost: cannot write the report\n";
        }
    }
}

// Runs the steps and answers the result file and whether every step ran.
ordered_json RunSteps(const SessionOptions& options, HostContext& host, const json& script,
                      const ordered_json& decimal, const Legibility& before, int& status) {
    AddonLoader loader(host, options.addon);
    Session session(host, loader);
    const std::size_t folder_end = options.script.find_last_of(L"\\/");
    session.set_script_folder(folder_end == std::wstring::npos
                                  ? std::wstring()
                                  : options.script.substr(0, folder_end + 1));
    ordered_json failed;
    try {
        session.RunSteps(script["steps"], nullptr, "");
    } catch (const StepFailure& failure) {
        failed = ordered_json{{"index", session.current_index()}, {"reason", failure.what()}};
        status = 1;
    }
    ordered_json result = ordered_json::parse(SaveProject(host.model()));
    ordered_json report = SessionResult(session, host, loader);
    report["decimal"] = decimal;
    report["failed_step"] = failed;
    report["legibility"] =
        LegibilityResult(before, MeasureMapLegibility(host.model(), host.decimal_separator()));
    result["session"] = std::move(report);
    WriteExtras(options, host, session, result);
    // The host lets the add-on go: Disconnect, release, unload. A message
    // box the add-on shows meanwhile is answered like any other.
    session.Teardown();
    return result;
}

}  // namespace

int RunSession(const SessionOptions& options) {
    std::optional<SessionInput> input = ReadInput(options);
    if (!input) {
        return 2;
    }
    const SavedDecimalSeparator users_separator;
    const ordered_json decimal = {{"requested", input->separator == u'.' ? "." : ","},
                                  {"system", ApplyDecimalSeparator(input->separator)}};
    HostContext host(std::move(input->model), input->separator);
    if (auto it = input->script.find("log"); it != input->script.end() && it->is_boolean()) {
        host.accounting().set_keep_log(it->get<bool>());
    }
    if (options.before &&
        !WriteMapPicture(host, *options.before, options.picture_width, options.picture_height)) {
        std::cerr << "maphost: cannot write the picture before the steps\n";
    }
    // The yardstick of the session's labels: the map as loaded, measured as
    // the host paints it.
    const Legibility before = MeasureMapLegibility(host.model(), host.decimal_separator());
    int status = 0;
    const ordered_json result = RunSteps(options, host, input->script, decimal, before, status);
    if (!WriteFileBytes(options.out, result.dump(2) + "\n")) {
        std::cerr << "maphost: cannot write the result file\n";
        return 2;
    }
    return status;
}

}  // namespace kavrel::host
