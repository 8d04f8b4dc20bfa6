#include "host/session/session_result.h"

#include <cstring>

#include "base/guid_text.h"
#include "base/short_string.h"
#include "base/wide.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"
#include "host/session/addon_loader.h"
#include "host/session/form_driver.h"
#include "host/session/session.h"
#include "host/session/step_fields.h"

namespace kavrel::host {
namespace {

using nlohmann::ordered_json;

// The forms that exist at the end: windows whose class is a type name ("T..."),
// with the class of their parent window.
ordered_json FormsReport() {
    ordered_json forms = ordered_json::array();
    for (HWND window : AllThreadWindows()) {
        const std::wstring type = WindowClass(window);
        if (type.size() < 2 || type[0] != L'T') {
            continue;
        }
        HWND parent = GetAncestor(window, GA_PARENT);
        const std::wstring parent_type =
            parent && parent != GetDesktopWindow() ? WindowClass(parent) : L"";
        forms.push_back({{"type", WideToUtf8(type)}, {"parent", WideToUtf8(parent_type)}});
    }
    return forms;
}

ordered_json CommandReport(const LoadedCommand& command) {
    ordered_json c;
    c["id"] = command.attrs.Id;
    c["bitmap_name"] = WideToUtf8(ReadShortStringWide(command.attrs.BitmapName));
    c["caption"] = WideToUtf8(ReadShortStringWide(command.attrs.Caption));
    c["menu_path"] = WideToUtf8(ReadShortStringWide(command.attrs.MenuPath));
    c["toolbar"] = WideToUtf8(ReadShortStringWide(command.attrs.ToolbarName));
    c["category"] = WideToUtf8(ReadShortStringWide(command.attrs.CategoryName));
    c["has_bitmap"] = command.attrs.Bitmap != 0;
    if (command.attrs.Bitmap != 0) {
        c["save_bitmap"] = {{"status", StatusText(command.save_status)},
                            {"stream_calls", command.stream_calls},
                            {"valid", command.bitmap.valid},
                            {"problem", command.bitmap.problem},
                            {"length", command.bitmap.length},
                            {"width", command.bitmap.width},
                            {"height", command.bitmap.height},
                            {"bits_per_pixel", command.bitmap.bits_per_pixel}};
    }
    return c;
}

ordered_json AddonReport(const AddonLoader& loader) {
    ordered_json addon;
    addon["created"] = loader.created();
    addon["connected"] = loader.connected();
    const AddOnInfo& info = loader.info();
    GUID class_id;
    std::memcpy(&class_id, &info.ClassId, sizeof class_id);
    addon["info"] = {{"class_id", WideToUtf8(GuidText(class_id))},
                     {"name", WideToUtf8(ReadShortStringWide(info.Name))},
                     {"caption", WideToUtf8(ReadShortStringWide(info.Caption))},
                     {"options", info.Options},
                     {"sdk_version", info.SdkVersion}};
    addon["commands"] = ordered_json::array();
    for (const LoadedCommand& command : loader.commands()) {
        addon["commands"].push_back(CommandReport(command));
    }
    if (loader.can_unload_now()) {
        addon["can_unload_now"] = StatusText(*loader.can_unload_now());
    }
    addon["unloaded"] = loader.unloaded();
    return addon;
}

// What the host counted of its callers.
void AddAccounting(ordered_json& session, HostContext& host) {
    session["calls"] = ordered_json::object();
    for (const auto& [name, count] : host.accounting().calls()) {
        session["calls"][name] = count;
    }
    session["outstanding_refs"] = ordered_json::object();
    for (const auto& [name, count] : host.accounting().OutstandingReferences()) {
        session["outstanding_refs"][name] = count;
    }
}

ordered_json LegibilityCounts(const Legibility& counts) {
    return {{"labels", counts.labels},
            {"overlapping_pairs", counts.overlapping_pairs},
            {"covering_points", counts.covering_points},
            {"crossed_by_lines", counts.crossed_by_lines},
            {"far_from_point", counts.far_from_point}};
}

Legibility LegibilityOf(const ordered_json& counts) {
    Legibility result;
    result.labels = counts["labels"].get<std::size_t>();
    result.overlapping_pairs = counts["overlapping_pairs"].get<std::size_t>();
    result.covering_points = counts["covering_points"].get<std::size_t>();
    result.crossed_by_lines = counts["crossed_by_lines"].get<std::size_t>();
    result.far_from_point = counts["far_from_point"].get<std::size_t>();
    return result;
}

}  // namespace

ordered_json LegibilityResult(const Legibility& before, const Legibility& after) {
    return {{"before", LegibilityCounts(before)}, {"after", LegibilityCounts(after)}};
}

ordered_json SessionResult(const Session& run, HostContext& host, const AddonLoader& loader) {
    ordered_json session;
    session["messages"] = run.messages();
    session["host_errors"] = ordered_json::array();
    for (const ReportedError& error : host.reported_errors()) {
        session["host_errors"].push_back(
            {{"source", WideToUtf8(error.source)}, {"message", WideToUtf8(error.message)}});
    }
    session["uncommitted"] = ordered_json::array();
    for (const std::u16string& id : host.model().ObjectsWithPendingEdits()) {
        session["uncommitted"].push_back(WideToUtf8(id));
    }
    session["redraws"] = host.redraws;
    session["task_panel_shows"] = host.task_panel_shows;
    AddAccounting(session, host);
    session["statuses"] = run.statuses();
    if (!host.accounting().log().empty()) {
        session["call_log"] = host.accounting().log();
    }
    session["task_panels"] = ordered_json::array();
    for (const TaskPanelObject* panel : host.TaskPanels()) {
        session["task_panels"].push_back(
            {{"key", WideToUtf8(panel->key())},
             {"caption", WideToUtf8(panel->caption())},
             {"shown", (GetWindowLongW(panel->window(), GWL_STYLE) & WS_VISIBLE) != 0}});
    }
    session["forms"] = FormsReport();
    session["addon"] = AddonReport(loader);
    return session;
}

ReportHeader ReportHeaderOf(const std::wstring& project, const ordered_json& result,
                            std::size_t objects) {
    ReportHeader header;
    header.project = WideToUtf8(project);
    header.objects = objects;
    header.host = sizeof(void*) == 8 ? "64-bit (x64)" : "32-bit (x86)";
    const ordered_json& session = result["session"];
    const ordered_json& addon = session["addon"];
    const ordered_json& info = addon["info"];
    header.addon = addon["created"].get<bool>() ? info["name"].get<std::string>() + " — " +
                                                      info["caption"].get<std::string>() + " " +
                                                      info["class_id"].get<std::string>()
                                                : "not created";
    for (const ordered_json& command : addon["commands"]) {
        std::string line = std::to_string(command["id"].get<long>()) + " \"" +
                           command["caption"].get<std::string>() + "\" menu \"" +
                           command["menu_path"].get<std::string>() + "\" toolbar \"" +
                           command["toolbar"].get<std::string>() + "\"";
        if (command.contains("save_bitmap")) {
            const ordered_json& bitmap = command["save_bitmap"];
            line += bitmap["valid"].get<bool>()
                        ? " bitmap " + std::to_string(bitmap["width"].get<long>()) + "x" +
                              std::to_string(bitmap["height"].get<long>()) + "x" +
                              std::to_string(bitmap["bits_per_pixel"].get<long>())
                        : " bitmap refused: " + bitmap["problem"].get<std::string>();
        }
        header.commands.push_back(std::move(line));
    }
    header.decimal = session["decimal"]["system"].get<std::string>();
    for (const ordered_json& message : session["messages"]) {
        header.messages.push_back(message.get<std::string>());
    }
    if (!session["failed_step"].is_null()) {
        header.failure = session["failed_step"]["reason"].get<std::string>();
    }
    if (session.contains("legibility")) {
        header.legibility_before = LegibilityOf(session["legibility"]["before"]);
        header.legibility_after = LegibilityOf(session["legibility"]["after"]);
    }
    return header;
}

}  // namespace kavrel::host
