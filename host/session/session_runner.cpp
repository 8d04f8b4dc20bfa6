#include "host/session/session_runner.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <algorithm>
#include <chrono>
#include <cstring>

#include "base/file_bytes.h"
#include "base/short_string.h"
#include "base/utf8.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"
#include "host/model/project_file.h"
#include "host/session/addon_loader.h"
#include "host/session/form_driver.h"
#include "host/session/map_picture.h"
#include "host/session/session_error.h"
#include "host/session/session_report.h"
#include "host/session/step_changes.h"
#include "host/session/window_picture.h"

namespace kavrel::host {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

std::string Utf8(const std::u16string& text) {
    return WideToUtf8(text);
}
std::wstring Wide(const std::string& utf8) {
    const std::u16string text = Utf8ToWide(utf8);
    return std::wstring(text.begin(), text.end());
}

std::string StatusText(HRESULT status) {
    char text[16];
    wsprintfA(text, "0x%08lX", static_cast<unsigned long>(status));
    return text;
}

class Session;
ordered_json FormsReport();

// A watch armed around one action that may open a modal window (a message
// box or a modal form). The modal loop dispatches the thread timer; the
// timer callback finds the new window, runs the step's "then" steps inside
// it and closes it.
struct ModalWatch {
    Session* session = nullptr;
    std::vector<HWND> before;
    const json* then = nullptr;
    std::string path;
    UINT_PTR timer = 0;
    bool fired = false;
    std::optional<std::string> failure;
};

std::vector<ModalWatch*> g_watches;

void CALLBACK OnModalTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept;

class Session {
  public:
    Session(HostContext& host, AddonLoader& loader) : host_(host), loader_(loader) {}

    void RunSteps(const json& steps, HWND scope, const std::string& path) {
        if (!steps.is_array()) {
            throw StepFailure(path + ": steps must be an array");
        }
        for (std::size_t i = 0; i < steps.size(); ++i) {
            const std::string here =
                path.empty() ? std::to_string(i) : path + "[" + std::to_string(i) + "]";
            current_index_ = path.empty() ? static_cast<long>(i) : current_index_;
            if (path.empty()) {
                RunRecordedStep(steps[i], scope, here);
            } else {
                RunStep(steps[i], scope, here);
            }
        }
    }

    void Poll(ModalWatch& watch) {
        if (watch.fired) {
            return;
        }
        HWND modal = nullptr;
        for (HWND window : ThreadTopWindows()) {
            if (std::find(watch.before.begin(), watch.before.end(), window) != watch.before.end() ||
                !IsWindowVisible(window) || !IsWindowEnabled(window)) {
                continue;
            }
            HWND owner = GetWindow(window, GW_OWNER);
            if (IsMessageBoxWindow(window) || (owner && !IsWindowEnabled(owner))) {
                modal = window;
                break;
            }
        }
        if (!modal) {
            return;
        }
        KillTimer(nullptr, watch.timer);
        watch.fired = true;
        const bool box = IsMessageBoxWindow(modal);
        if (box) {
            const std::wstring text = MessageBoxText(modal);
            messages_.push_back(Utf8(std::u16string(text.begin(), text.end())));
        }
        if (watch.then) {
            try {
                RunSteps(*watch.then, modal, watch.path + ".then");
            } catch (const StepFailure& failure) {
                watch.failure = failure.what();
            } catch (const std::exception& e) {
                watch.failure = watch.path + ": " + e.what();
            }
        }
        if (IsWindow(modal) && !answered_.count(modal)) {
            // A message box is answered with OK (sent, so that it hides at once);
            // a modal form left open is closed.
            if (box) {
                SendMessageW(modal, WM_COMMAND, IDOK, 0);
            } else {
                PostMessageW(modal, WM_CLOSE, 0, 0);
            }
        }
    }

    ordered_json Report() const;
    long current_index() const { return current_index_; }
    const std::vector<std::string>& messages() const { return messages_; }
    const std::vector<StepRecord>& records() const { return records_; }

    void Teardown() {
        const json step = json::object();
        try {
            WithModalWatch(step, "end", [&] {
                if (loader_.connected()) {
                    loader_.Disconnect();
                }
                loader_.Unload();
            });
        } catch (const StepFailure&) {
        }
    }

  private:
    template <typename Action>
    void WithModalWatch(const json& step, const std::string& path, Action&& action) {
        ModalWatch watch;
        watch.session = this;
        watch.before = ThreadTopWindows();
        watch.path = path;
        auto then = step.find("then");
        if (then != step.end()) {
            watch.then = &*then;
        }
        watch.timer = SetTimer(nullptr, 0, 50, OnModalTimer);
        g_watches.push_back(&watch);
        struct Disarm {
            ModalWatch& watch;
            ~Disarm() {
                if (!watch.fired) {
                    KillTimer(nullptr, watch.timer);
                }
                g_watches.erase(std::find(g_watches.begin(), g_watches.end(), &watch));
            }
        } disarm{watch};
        action();
        if (watch.failure) {
            throw StepFailure(*watch.failure);
        }
        if (watch.then && !watch.fired) {
            throw StepFailure(path + ": the step opened no modal window for its \"then\" steps");
        }
    }

    static std::string Text(const json& step, const char* name, const std::string& path) {
        auto it = step.find(name);
        if (it == step.end() || !it->is_string()) {
            throw StepFailure(path + ": \"" + name + "\" must be a text");
        }
        return it->get<std::string>();
    }
    static long Number(const json& step, const char* name, const std::string& path,
                       std::optional<long> fallback = std::nullopt) {
        auto it = step.find(name);
        if (it == step.end() && fallback) {
            return *fallback;
        }
        if (it == step.end() || !it->is_number_integer()) {
            throw StepFailure(path + ": \"" + name + "\" must be an integer");
        }
        return it->get<long>();
    }

    void Status(const std::string& path, const std::string& what, HRESULT status) {
        statuses_.push_back({{"step", path}, {"do", what}, {"status", StatusText(status)}});
    }

    HWND Control(const json& step, HWND scope, const std::string& path) {
        const std::string form_name = Text(step, "form", path);
        HWND form = FindForm(Wide(form_name), scope);
        return FindControl(form, Wide(Text(step, "control", path)), form_name);
    }

    // A top-level step, timed, with what it changed on the committed map.
    void RunRecordedStep(const json& step, HWND scope, const std::string& path) {
        StepRecord record;
        record.path = path;
        if (step.is_object()) {
            record.what = step.value("do", "");
            if (auto note = step.find("note"); note != step.end() && note->is_string()) {
                record.note = note->get<std::string>();
            }
            record.detail = StepDetail(step);
        }
        const ModelSnapshot before = SnapshotOf(host_.model());
        const std::size_t messages_before = messages_.size();
        const auto started = std::chrono::steady_clock::now();
        struct Recorder {
            Session& session;
            StepRecord& record;
            const ModelSnapshot& before;
            std::size_t messages_before;
            std::chrono::steady_clock::time_point started;
            bool done = false;
            ~Recorder() {
                try {
                    Finish();
                } catch (...) {
                }
            }
            void Finish() {
                record.milliseconds = std::chrono::duration<double, std::milli>(
                                          std::chrono::steady_clock::now() - started)
                                          .count();
                record.failed = !done;
                record.messages = session.messages_.size() - messages_before;
                record.changes = CompareSnapshots(session.host_.model(), before,
                                                  SnapshotOf(session.host_.model()),
                                                  session.host_.decimal_separator());
                session.records_.push_back(std::move(record));
            }
        } recorder{*this, record, before, messages_before, started};
        RunStep(step, scope, path);
        recorder.done = true;
    }

    // A line saying what a step acts on, for the report.
    std::string StepDetail(const json& step) const {
        const std::string what = step.value("do", "");
        auto text = [&](const char* name) {
            auto it = step.find(name);
            return it != step.end() && it->is_string() ? it->get<std::string>() : std::string();
        };
        if (what == "select") {
            auto ids = step.find("ids");
            if (ids == step.end() || !ids->is_array()) {
                return {};
            }
            std::string line = "selected " + std::to_string(ids->size()) + " objects";
            for (std::size_t i = 0; i < ids->size() && i < 6; ++i) {
                line += (i == 0 ? ": " : ", ") +
                        ((*ids)[i].is_string() ? (*ids)[i].get<std::string>() : "?");
            }
            return ids->size() > 6 ? line + ", ..." : line;
        }
        if (what == "command") {
            return "ExecuteMacro(" + std::to_string(step.value("id", 0L)) + ")";
        }
        if (what == "set_text") {
            return text("form") + "." + text("control") + " := \"" + text("text") + "\"";
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

    void RunStep(const json& step, HWND scope, const std::string& path) {
        if (!step.is_object() || !step.contains("do") || !step["do"].is_string()) {
            throw StepFailure(path + ": a step is an object with \"do\"");
        }
        const std::string what = step["do"].get<std::string>();
        try {
            RunNamedStep(what, step, scope, path);
        } catch (const StepFailure& failure) {
            const std::string reason = failure.what();
            if (reason.rfind(path, 0) == 0) {
                throw;
            }
            throw StepFailure(path + " (" + what + "): " + reason);
        }
    }

    void RunNamedStep(const std::string& what, const json& step, HWND scope,
                      const std::string& path) {
        if (what == "register") {
            std::optional<std::string> applied;
            auto it = step.find("applied");
            if (it != step.end() && !it->is_null()) {
                if (!it->is_string()) {
                    throw StepFailure("\"applied\" must be null or a text");
                }
                applied = WideToCp1251(Utf8ToWide(it->get<std::string>()));
            }
            const long active = Number(step, "active", path, 1);
            WithModalWatch(step, path, [&] {
                Status(path, what, loader_.Register(applied ? applied->c_str() : nullptr, active));
            });
        } else if (what == "connect") {
            WithModalWatch(step, path, [&] {
                loader_.Connect();
                Status(path, "GetInfo", loader_.info_status());
                Status(path, "Connect", loader_.connect_status());
                Status(path, "GetMacroAttrs", loader_.macro_attrs_status());
            });
        } else if (what == "disconnect") {
            WithModalWatch(step, path, [&] { Status(path, what, loader_.Disconnect()); });
        } else if (what == "unload") {
            WithModalWatch(step, path, [&] { loader_.Unload(); });
        } else if (what == "select") {
            auto it = step.find("ids");
            if (it == step.end() || !it->is_array()) {
                throw StepFailure("\"ids\" must be an array");
            }
            std::vector<std::u16string> ids;
            for (const json& id : *it) {
                if (!id.is_string()) {
                    throw StepFailure("\"ids\" must hold texts");
                }
                ids.push_back(Utf8ToWide(id.get<std::string>()));
                if (!host_.model().FindObject(ids.back())) {
                    throw StepFailure("no object " + id.get<std::string>());
                }
            }
            host_.model().selection = std::move(ids);
        } else if (what == "command") {
            const long id = Number(step, "id", path);
            const long param = Number(step, "param", path, 0);
            WithModalWatch(step, path, [&] { Status(path, what, loader_.Execute(id, param)); });
        } else if (what == "set_text") {
            HWND control = Control(step, scope, path);
            const std::wstring text = Wide(Text(step, "text", path));
            WithModalWatch(step, path, [&] { SetControlText(control, text); });
        } else if (what == "check") {
            HWND control = Control(step, scope, path);
            auto it = step.find("checked");
            const bool checked = it == step.end() || (it->is_boolean() && it->get<bool>());
            WithModalWatch(step, path, [&] { SetChecked(control, checked); });
        } else if (what == "choose") {
            HWND control = Control(step, scope, path);
            const long index = Number(step, "index", path);
            WithModalWatch(step, path, [&] { ChooseItem(control, static_cast<int>(index)); });
        } else if (what == "select_node") {
            HWND control = Control(step, scope, path);
            auto it = step.find("path");
            if (it == step.end() || !it->is_array()) {
                throw StepFailure("\"path\" must be an array of node texts");
            }
            std::vector<std::wstring> nodes;
            for (const json& node : *it) {
                if (!node.is_string()) {
                    throw StepFailure("\"path\" must hold texts");
                }
                nodes.push_back(Wide(node.get<std::string>()));
            }
            WithModalWatch(step, path, [&] { SelectTreeNode(control, nodes); });
        } else if (what == "click") {
            HWND control = Control(step, scope, path);
            WithModalWatch(step, path, [&] { ClickControl(control); });
        } else if (what == "double_click") {
            HWND control = Control(step, scope, path);
            WithModalWatch(step, path, [&] { DoubleClickControl(control); });
        } else if (what == "close") {
            HWND form = FindForm(Wide(Text(step, "form", path)), scope);
            WithModalWatch(step, path, [&] { CloseForm(form); });
        } else if (what == "answer") {
            if (!scope || !IsMessageBoxWindow(scope)) {
                throw StepFailure("\"answer\" runs only inside a message box");
            }
            const std::string button = Text(step, "button", path);
            const std::pair<const char*, int> buttons[] = {
                {"ok", IDOK}, {"cancel", IDCANCEL}, {"yes", IDYES}, {"no", IDNO}};
            int id = 0;
            for (const auto& [name, value] : buttons) {
                if (button == name) {
                    id = value;
                }
            }
            if (id == 0) {
                throw StepFailure("unknown button " + button);
            }
            answered_.insert(scope);
            SendMessageW(scope, WM_COMMAND, static_cast<WPARAM>(id), 0);
        } else if (what == "fail") {
            std::string call = "*";
            if (auto it = step.find("call"); it != step.end() && !it->is_null()) {
                call = Text(step, "call", path);
            }
            const long nth = Number(step, "nth", path, 1);
            if (nth < 1) {
                throw StepFailure("\"nth\" counts from 1");
            }
            std::string description = "Сбой операции";
            if (auto it = step.find("description"); it != step.end()) {
                description = Text(step, "description", path);
            }
            host_.accounting().ArmFault(call, nth, Utf8ToWide(description));
        } else {
            throw StepFailure("unknown step \"" + what + "\"");
        }
    }

    HostContext& host_;
    AddonLoader& loader_;
    std::vector<std::string> messages_;
    ordered_json statuses_ = ordered_json::array();
    std::set<HWND> answered_;
    long current_index_ = 0;
    std::vector<StepRecord> records_;
};

void CALLBACK OnModalTimer(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    try {
        for (ModalWatch* watch : g_watches) {
            if (watch->timer == id) {
                watch->session->Poll(*watch);
                return;
            }
        }
    } catch (...) {
    }
}

ordered_json Session::Report() const {
    ordered_json session;
    session["messages"] = messages_;
    session["host_errors"] = ordered_json::array();
    for (const ReportedError& error : host_.reported_errors()) {
        session["host_errors"].push_back(
            {{"source", Utf8(error.source)}, {"message", Utf8(error.message)}});
    }
    session["uncommitted"] = ordered_json::array();
    for (const std::u16string& id : host_.model().ObjectsWithPendingEdits()) {
        session["uncommitted"].push_back(Utf8(id));
    }
    session["redraws"] = host_.redraws;
    session["task_panel_shows"] = host_.task_panel_shows;
    session["calls"] = ordered_json::object();
    for (const auto& [name, count] : host_.accounting().calls()) {
        session["calls"][name] = count;
    }
    session["outstanding_refs"] = ordered_json::object();
    for (const auto& [name, count] : host_.accounting().OutstandingReferences()) {
        session["outstanding_refs"][name] = count;
    }
    session["statuses"] = statuses_;
    if (!host_.accounting().log().empty()) {
        session["call_log"] = host_.accounting().log();
    }
    session["task_panels"] = ordered_json::array();
    for (const TaskPanelObject* panel : host_.TaskPanels()) {
        session["task_panels"].push_back(
            {{"key", Utf8(panel->key())},
             {"caption", Utf8(panel->caption())},
             {"shown", (GetWindowLongW(panel->window(), GWL_STYLE) & WS_VISIBLE) != 0}});
    }
    session["forms"] = FormsReport();

    ordered_json addon;
    addon["created"] = loader_.created();
    addon["connected"] = loader_.connected();
    const AddOnInfo& info = loader_.info();
    GUID class_id;
    std::memcpy(&class_id, &info.ClassId, sizeof class_id);
    addon["info"] = {{"class_id", GuidText(class_id)},
                     {"name", Utf8(ReadShortStringWide(info.Name))},
                     {"caption", Utf8(ReadShortStringWide(info.Caption))},
                     {"options", info.Options},
                     {"sdk_version", info.SdkVersion}};
    addon["commands"] = ordered_json::array();
    for (const LoadedCommand& command : loader_.commands()) {
        ordered_json c;
        c["id"] = command.attrs.Id;
        c["bitmap_name"] = Utf8(ReadShortStringWide(command.attrs.BitmapName));
        c["caption"] = Utf8(ReadShortStringWide(command.attrs.Caption));
        c["menu_path"] = Utf8(ReadShortStringWide(command.attrs.MenuPath));
        c["toolbar"] = Utf8(ReadShortStringWide(command.attrs.ToolbarName));
        c["category"] = Utf8(ReadShortStringWide(command.attrs.CategoryName));
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
        addon["commands"].push_back(std::move(c));
    }
    if (loader_.can_unload_now()) {
        addon["can_unload_now"] = StatusText(*loader_.can_unload_now());
    }
    addon["unloaded"] = loader_.unloaded();
    session["addon"] = std::move(addon);
    return session;
}

// The forms that exist at the end: windows whose class is a type name ("T..."),
// with the class of their parent window.
ordered_json FormsReport() {
    ordered_json forms = ordered_json::array();
    auto add = [&](HWND window) {
        const std::wstring type = WindowClass(window);
        if (type.size() < 2 || type[0] != L'T') {
            return;
        }
        HWND parent = GetAncestor(window, GA_PARENT);
        const std::wstring parent_type =
            parent && parent != GetDesktopWindow() ? WindowClass(parent) : L"";
        forms.push_back({{"type", Utf8(std::u16string(type.begin(), type.end()))},
                         {"parent", Utf8(std::u16string(parent_type.begin(), parent_type.end()))}});
    };
    for (HWND window : AllThreadWindows()) {
        add(window);
    }
    return forms;
}

// The user's regional decimal separator, put back when the session ends: the
// setting lives in the prefix and outlasts the process.
class SavedDecimalSeparator {
  public:
    SavedDecimalSeparator() {
        saved_ = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, value_, 8) > 0;
    }
    SavedDecimalSeparator(const SavedDecimalSeparator&) = delete;
    SavedDecimalSeparator& operator=(const SavedDecimalSeparator&) = delete;
    ~SavedDecimalSeparator() {
        if (saved_) {
            SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, value_);
        }
    }

  private:
    wchar_t value_[8] = {};
    bool saved_ = false;
};

// Sets the regional decimal separator before the add-on is loaded and reads
// it back, so that the report says what the add-on will have seen.
std::string ApplyDecimalSeparator(char16_t separator) {
    const wchar_t value[2] = {static_cast<wchar_t>(separator), 0};
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, value);
    wchar_t seen[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, seen, 8);
    return Utf8(std::u16string(seen, seen + lstrlenW(seen)));
}

ReportHeader ReportHeaderOf(const SessionOptions& options, const ordered_json& result,
                            std::size_t objects) {
    ReportHeader header;
    header.project = Utf8(std::u16string(options.project.begin(), options.project.end()));
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
    return header;
}

}  // namespace

int RunSession(const SessionOptions& options) {
    const auto project_text = ReadFileBytes(options.project);
    if (!project_text) {
        std::cerr << "maphost: cannot read the project file\n";
        return 2;
    }
    const auto script_text = ReadFileBytes(options.script);
    if (!script_text) {
        std::cerr << "maphost: cannot read the script file\n";
        return 2;
    }
    json script;
    try {
        script = json::parse(*script_text);
    } catch (const json::parse_error& e) {
        std::cerr << "maphost: the script is not JSON (byte " << e.byte << ")\n";
        return 2;
    }
    char16_t separator = u',';
    if (auto it = script.find("decimal"); it != script.end()) {
        if (!it->is_string() || (*it != "," && *it != ".")) {
            std::cerr << "maphost: \"decimal\" must be \",\" or \".\"\n";
            return 2;
        }
        separator = it->get<std::string>() == "." ? u'.' : u',';
    }
    if (!script.contains("steps") || !script["steps"].is_array()) {
        std::cerr << "maphost: the script has no \"steps\" array\n";
        return 2;
    }
    MapModel model;
    try {
        model = LoadProject(*project_text);
    } catch (const ProjectError& e) {
        std::cerr << e.what() << "\n";
        return 2;
    }
    const SavedDecimalSeparator users_separator;
    const std::string system_separator = ApplyDecimalSeparator(separator);

    HostContext host(std::move(model), separator);
    if (auto it = script.find("log"); it != script.end() && it->is_boolean()) {
        host.accounting().set_keep_log(it->get<bool>());
    }
    std::optional<ordered_json> failed;
    int status = 0;
    ordered_json result;
    if (options.before &&
        !WriteMapPicture(host, *options.before, options.picture_width, options.picture_height)) {
        std::cerr << "maphost: cannot write the picture before the steps\n";
    }
    {
        AddonLoader loader(host, options.addon);
        Session session(host, loader);
        try {
            session.RunSteps(script["steps"], nullptr, "");
        } catch (const StepFailure& failure) {
            failed = ordered_json{{"index", session.current_index()}, {"reason", failure.what()}};
            status = 1;
        }
        result = ordered_json::parse(SaveProject(host.model()));
        ordered_json report = session.Report();
        report["decimal"] = {{"requested", separator == u'.' ? "." : ","},
                             {"system", system_separator}};
        report["failed_step"] = failed ? *failed : ordered_json();
        result["session"] = std::move(report);
        if (options.picture && !WriteMapPicture(host, *options.picture, options.picture_width,
                                                options.picture_height)) {
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
        if (options.report) {
            const std::string text = FormatReport(
                ReportHeaderOf(options, result, host.model().objects().size()), session.records());
            if (!WriteFileBytes(*options.report, text)) {
                std::cerr << "maphost: cannot write the report\n";
            }
        }
        // The host lets the add-on go: Disconnect, release, unload. A message
        // box the add-on shows meanwhile is answered like any other.
        session.Teardown();
    }
    if (!WriteFileBytes(options.out, result.dump(2) + "\n")) {
        std::cerr << "maphost: cannot write the result file\n";
        return 2;
    }
    return status;
}

}  // namespace kavrel::host
