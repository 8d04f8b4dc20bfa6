#include "host/session/session_steps.h"

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "base/short_string.h"
#include "base/utf8.h"
#include "base/wide.h"
#include "host/com/host_context.h"
#include "host/session/addon_loader.h"
#include "host/session/form_driver.h"
#include "host/session/session.h"
#include "host/session/session_error.h"
#include "host/session/step_fields.h"

namespace kavrel::host {
namespace {

using nlohmann::json;

// The control a form step names, found as docs/forms-protocol.md says.
HWND StepControl(const StepCall& call) {
    const std::string form_name = StepText(call.step, "form", call.path);
    HWND form = FindForm(Utf8ToWindows(form_name), call.scope);
    return FindControl(form, Utf8ToWindows(StepText(call.step, "control", call.path)), form_name);
}

// Runs a form action under the session's modal watch.
void WatchedInput(const StepCall& call, const std::function<void()>& action) {
    call.session.Watched(call.step, call.path, action);
}

void Register(const StepCall& call) {
    std::optional<std::string> applied;
    auto it = call.step.find("applied");
    if (it != call.step.end() && !it->is_null()) {
        if (!it->is_string()) {
            throw StepFailure("\"applied\" must be null or a text");
        }
        applied = WideToCp1251(Utf8ToWide(it->get<std::string>()));
    }
    const long active = StepNumber(call.step, "active", call.path, 1);
    WatchedInput(call, [&] {
        call.session.RecordStatus(
            call.path, call.what,
            call.session.loader().Register(applied ? applied->c_str() : nullptr, active));
    });
}

void Connect(const StepCall& call) {
    WatchedInput(call, [&] {
        AddonLoader& loader = call.session.loader();
        loader.Connect();
        call.session.RecordStatus(call.path, "GetInfo", loader.info_status());
        call.session.RecordStatus(call.path, "Connect", loader.connect_status());
        call.session.RecordStatus(call.path, "GetMacroAttrs", loader.macro_attrs_status());
    });
}

void Disconnect(const StepCall& call) {
    WatchedInput(call, [&] {
        call.session.RecordStatus(call.path, call.what, call.session.loader().Disconnect());
    });
}

void Unload(const StepCall& call) {
    WatchedInput(call, [&] { call.session.loader().Unload(); });
}

void Select(const StepCall& call) {
    auto it = call.step.find("ids");
    if (it == call.step.end() || !it->is_array()) {
        throw StepFailure("\"ids\" must be an array");
    }
    MapModel& model = call.session.host().model();
    std::vector<std::u16string> ids;
    for (const json& id : *it) {
        if (!id.is_string()) {
            throw StepFailure("\"ids\" must hold texts");
        }
        ids.push_back(Utf8ToWide(id.get<std::string>()));
        if (!model.FindObject(ids.back())) {
            throw StepFailure("no object " + id.get<std::string>());
        }
    }
    model.selection = std::move(ids);
}

void Command(const StepCall& call) {
    const long id = StepNumber(call.step, "id", call.path);
    const long param = StepNumber(call.step, "param", call.path, 0);
    WatchedInput(call, [&] {
        call.session.RecordStatus(call.path, call.what, call.session.loader().Execute(id, param));
    });
}

void SetText(const StepCall& call) {
    HWND control = StepControl(call);
    const std::wstring text = Utf8ToWindows(StepText(call.step, "text", call.path));
    WatchedInput(call, [&] { SetControlText(control, text); });
}

void Check(const StepCall& call) {
    HWND control = StepControl(call);
    auto it = call.step.find("checked");
    const bool checked = it == call.step.end() || (it->is_boolean() && it->get<bool>());
    WatchedInput(call, [&] { SetChecked(control, checked); });
}

void Choose(const StepCall& call) {
    HWND control = StepControl(call);
    const long index = StepNumber(call.step, "index", call.path);
    WatchedInput(call, [&] { ChooseItem(control, static_cast<int>(index)); });
}

void SelectNode(const StepCall& call) {
    HWND control = StepControl(call);
    auto it = call.step.find("path");
    if (it == call.step.end() || !it->is_array()) {
        throw StepFailure("\"path\" must be an array of node texts");
    }
    std::vector<std::wstring> nodes;
    for (const json& node : *it) {
        if (!node.is_string()) {
            throw StepFailure("\"path\" must hold texts");
        }
        nodes.push_back(Utf8ToWindows(node.get<std::string>()));
    }
    WatchedInput(call, [&] { SelectTreeNode(control, nodes); });
}

void Click(const StepCall& call) {
    HWND control = StepControl(call);
    WatchedInput(call, [&] { ClickControl(control); });
}

void DoubleClick(const StepCall& call) {
    HWND control = StepControl(call);
    WatchedInput(call, [&] { DoubleClickControl(control); });
}

void Close(const StepCall& call) {
    HWND form = FindForm(Utf8ToWindows(StepText(call.step, "form", call.path)), call.scope);
    WatchedInput(call, [&] { CloseForm(form); });
}

void Answer(const StepCall& call) {
    if (!call.scope || !IsMessageBoxWindow(call.scope)) {
        throw StepFailure("\"answer\" runs only inside a message box");
    }
    const std::string button = StepText(call.step, "button", call.path);
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
    call.session.MarkAnswered(call.scope);
    SendMessageW(call.scope, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void Fail(const StepCall& call) {
    std::string operation = "*";
    if (auto it = call.step.find("call"); it != call.step.end() && !it->is_null()) {
        operation = StepText(call.step, "call", call.path);
    }
    const long nth = StepNumber(call.step, "nth", call.path, 1);
    if (nth < 1) {
        throw StepFailure("\"nth\" counts from 1");
    }
    std::string description = "Сбой операции";
    if (auto it = call.step.find("description"); it != call.step.end()) {
        description = StepText(call.step, "description", call.path);
    }
    call.session.host().accounting().ArmFault(operation, nth, Utf8ToWide(description));
}

struct StepVerb {
    std::string_view name;
    void (*run)(const StepCall& call);
};

constexpr StepVerb kVerbs[] = {
    {"register", Register},
    {"connect", Connect},
    {"disconnect", Disconnect},
    {"unload", Unload},
    {"select", Select},
    {"command", Command},
    {"set_text", SetText},
    {"check", Check},
    {"choose", Choose},
    {"select_node", SelectNode},
    {"click", Click},
    {"double_click", DoubleClick},
    {"close", Close},
    {"answer", Answer},
    {"fail", Fail},
};

}  // namespace

void RunNamedStep(const StepCall& call) {
    for (const StepVerb& verb : kVerbs) {
        if (verb.name == call.what) {
            verb.run(call);
            return;
        }
    }
    throw StepFailure("unknown step \"" + call.what + "\"");
}

}  // namespace kavrel::host
