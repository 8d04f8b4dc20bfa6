#include "bench/bench_actions.h"

#include <algorithm>
#include <stdexcept>

#include "base/utf8.h"
#include "bench/addon_session.h"
#include "editor/panel_buttons.h"
#include "host/com/host_context.h"

namespace kavrel::bench {
namespace {

using kavrel::ButtonAction;
using kavrel::PanelButton;

// Everything of an object's state that an action may change, flattened.
struct Fingerprint {
    std::vector<std::u16string> styles;
    std::vector<double> numbers;
    bool operator==(const Fingerprint&) const = default;
};

Fingerprint FingerprintOf(const host::ObjectState& state) {
    Fingerprint f;
    for (const host::Shape& shape : state.shapes) {
        f.styles.push_back(shape.style);
        for (const host::ContourPart& part : shape.parts) {
            for (const host::Vertex& v : part.vertices) {
                f.numbers.insert(f.numbers.end(), {v.x, v.y, v.c});
            }
        }
    }
    for (const auto& [key, value] : state.values) {
        if (const double* number = std::get_if<double>(&value)) {
            f.numbers.push_back(*number);
        }
    }
    return f;
}

ButtonAction ActionOf(const char* control) {
    for (const PanelButton& b : PanelButtons()) {
        if (std::string(b.name) == control) {
            return b.action;
        }
    }
    throw std::logic_error(std::string("no button ") + control);
}

std::vector<std::size_t> Samples(std::size_t n) {
    return {0, n / 3, n / 2, n - 1};
}

std::vector<Fingerprint> Snapshot(host::MapModel& model, std::size_t n) {
    std::vector<Fingerprint> out;
    for (std::size_t i : Samples(n)) {
        out.push_back(FingerprintOf(model.FindObject(ObjectId(i))->CommittedState()));
    }
    return out;
}

void VerifyChanged(const Action& action, host::MapModel& model, std::size_t n,
                   const std::vector<Fingerprint>& before,
                   const std::vector<std::wstring>& messages) {
    const std::string what =
        action.name + " on " + std::to_string(n) + " " + ProjectName(action.project);
    if (!messages.empty()) {
        throw std::runtime_error(
            what + " showed a message: " +
            WideToUtf8(std::u16string(messages.front().begin(), messages.front().end())));
    }
    if (!model.ObjectsWithPendingEdits().empty()) {
        throw std::runtime_error(what + " left edits uncommitted");
    }
    const std::vector<Fingerprint> after = Snapshot(model, n);
    for (std::size_t k = 0; k < after.size(); ++k) {
        if (after[k] == before[k]) {
            throw std::runtime_error(what + " did not change object " +
                                     std::to_string(Samples(n)[k]));
        }
    }
}

// "Отменить" right after the action: every sampled object back as it was,
// committed, without a message.
ActionResult TimeUndo(AddonSession& session, host::HostContext& host, const Action& action,
                      std::size_t n, const std::vector<Fingerprint>& before) {
    const long calls_before = host.accounting().TotalCalls();
    const double start = Now();
    const std::vector<std::wstring> messages = session.Click("btnUndo");
    const double seconds = Now() - start;
    const long calls = host.accounting().TotalCalls() - calls_before;
    const std::string what = "undo of " + action.name + " on " + std::to_string(n);
    if (!messages.empty() || !host.model().ObjectsWithPendingEdits().empty()) {
        throw std::runtime_error(what + " showed a message or left edits uncommitted");
    }
    if (Snapshot(host.model(), n) != before) {
        throw std::runtime_error(what + " did not bring the objects back");
    }
    return ActionResult{"undo of " + action.name, n, seconds, calls};
}

}  // namespace

namespace {

// The benchmark's name of a button's action, and the project it is timed on.
std::string NameOf(const PanelButton& b) {
    switch (b.action) {
        case ButtonAction::SetLabelAngle:
            return "preset " + std::to_string(static_cast<int>(b.value)) + "°";
        case ButtonAction::TurnLabels:
            return "label rotation";
        case ButtonAction::TurnRailStrokes:
            return "rail turn";
        case ButtonAction::MoveLabels:
            return "move";
        case ButtonAction::StepHeights:
            return "height step " + WideToUtf8(b.caption);
        case ButtonAction::TypeHeights:
            return "typed height step";
        case ButtonAction::AutoMark:
            return "auto mark";
        case ButtonAction::PlaceLabels:
            return "place labels";
        case ButtonAction::Undo:
        case ButtonAction::Settings:
        case ButtonAction::Close:
            break;
    }
    return {};
}

ProjectKind ProjectOf(const PanelButton& b) {
    if (b.action == ButtonAction::PlaceLabels) {
        return ProjectKind::ContourMarks;
    }
    return WorksOnRailMarks(b) ? ProjectKind::RailMarks : ProjectKind::PlainMarks;
}

}  // namespace

const std::vector<Action>& Actions() {
    static const std::vector<Action> actions = [] {
        std::vector<Action> out;
        const PanelButton* first_preset = nullptr;
        for (const PanelButton& b : PanelButtons()) {
            if (!ChangesTheMap(b) || std::any_of(out.begin(), out.end(), [&](const Action& a) {
                    return a.control != nullptr && ActionOf(a.control) == b.action;
                })) {
                continue;
            }
            if (b.action == ButtonAction::SetLabelAngle) {
                first_preset = &b;
            }
            out.push_back({NameOf(b), ProjectOf(b), b.name, WorksOnRailMarks(b), true});
        }
        // Rebuilt objects are left alone by an undo: nothing to time.
        out.push_back({"rebuild + " + NameOf(*first_preset), ProjectKind::NonMarks,
                       first_preset->name, false, false});
        return out;
    }();
    return actions;
}

ProjectRun RunProject(const std::wstring& dll_path, ProjectKind kind, std::size_t n,
                      const std::vector<std::string>& only_actions, bool undo) {
    host::HostContext host(BuildProject(kind, n), u',');
    ProjectRun run;
    AddonSession session(dll_path, host);
    run.load_connect = session.LoadAndConnect();
    run.panel_open = session.OpenPanel();
    for (const Action& action : Actions()) {
        if (action.project != kind) {
            continue;
        }
        if (!only_actions.empty() && std::find(only_actions.begin(), only_actions.end(),
                                               action.name) == only_actions.end()) {
            continue;
        }
        session.SetChecked("cbRelsy", action.rails);
        const std::vector<Fingerprint> before = Snapshot(host.model(), n);
        const long calls_before = host.accounting().TotalCalls();
        const double start = Now();
        const std::vector<std::wstring> messages = session.Click(action.control);
        const double seconds = Now() - start;
        const long calls = host.accounting().TotalCalls() - calls_before;
        VerifyChanged(action, host.model(), n, before, messages);
        run.actions.push_back(ActionResult{action.name, n, seconds, calls});
        if (undo && action.undone) {
            run.actions.push_back(TimeUndo(session, host, action, n, before));
        }
    }
    return run;
}

}  // namespace kavrel::bench
