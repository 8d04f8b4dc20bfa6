#include "bench/bench_actions.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "base/utf8.h"
#include "bench/addon_session.h"
#include "editor/panel_buttons.h"
#include "host/com/host_context.h"
#include "tests/support/window_finder.h"

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

// The catalogue: "number X Y H" with a decimal comma, each height 0,25 above
// the mark's.
std::wstring Catalogue(std::size_t n) {
    std::wstring text;
    text.reserve(n * 40);
    char row[96];
    for (std::size_t i = 0; i < n; ++i) {
        const ObjectPlace place = PlaceOf(i, n);
        const int length = std::snprintf(row, sizeof row, "%zu %.3f %.3f %.2f\r\n", i + 1, place.x,
                                         place.y, place.height + 0.25);
        for (int k = 0; k < length; ++k) {
            text += row[k] == '.' ? L',' : static_cast<wchar_t>(row[k]);
        }
    }
    return text;
}

// The moment the import's question appears, answered "Да" at once, and the
// host calls made by then.
double g_question_at = 0;
long g_calls_at_question = 0;
int g_questions = 0;
host::Accounting* g_accounting = nullptr;

LRESULT CALLBACK AnswerYes(int code, WPARAM wparam, LPARAM lparam) noexcept {
    if (code == HCBT_ACTIVATE &&
        testing::ClassNameOf(reinterpret_cast<HWND>(wparam)) == L"#32770") {
        if (g_questions++ == 0) {
            g_question_at = Now();
            g_calls_at_question = g_accounting->TotalCalls();
        }
        PostMessageW(reinterpret_cast<HWND>(wparam), WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

std::vector<ActionResult> TimeImport(AddonSession& session, host::HostContext& host,
                                     std::size_t n) {
    const HWND dialog = session.OpenImportDialog();
    const std::wstring catalogue = Catalogue(n);
    SendMessageW(testing::FindControl(dialog, "mData"), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(catalogue.c_str()));
    const std::string what = "the import of " + std::to_string(n) + " rows";
    g_questions = 0;
    g_accounting = &host.accounting();
    const HHOOK hook = SetWindowsHookExW(WH_CBT, AnswerYes, nullptr, GetCurrentThreadId());
    if (!hook) {
        throw std::runtime_error("cannot watch the import's question");
    }
    const long calls_before = host.accounting().TotalCalls();
    const double start = Now();
    SendMessageW(testing::FindControl(dialog, "Button2"), BM_CLICK, 0, 0);
    const double end = Now();
    UnhookWindowsHookEx(hook);
    const long calls_after = host.accounting().TotalCalls();
    if (g_questions != 1) {
        throw std::runtime_error(what + " showed " + std::to_string(g_questions) +
                                 " message boxes instead of its question");
    }
    if (!host.model().ObjectsWithPendingEdits().empty()) {
        throw std::runtime_error(what + " left edits uncommitted");
    }
    for (std::size_t i : Samples(n)) {
        const auto& values = host.model().FindObject(ObjectId(i))->CommittedState().values;
        const double height = std::get<double>(values.at(u"A.H"));
        if (std::fabs(height - (PlaceOf(i, n).height + 0.25)) > 1e-9) {
            throw std::runtime_error(what + " did not write the height of object " +
                                     std::to_string(i));
        }
    }
    const HWND result = testing::FindThreadWindow(L"TfImportResult");
    const std::wstring summary =
        result ? testing::TextOf(testing::FindControl(result, "mResult")) : std::wstring();
    const std::wstring expected = L"Импорт выполнен: изменено отметок " + std::to_wstring(n) + L";";
    if (summary.rfind(expected, 0) != 0) {
        throw std::runtime_error(what + " did not say it changed every mark");
    }
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    return {
        ActionResult{kImportMatch, n, g_question_at - start, g_calls_at_question - calls_before},
        ActionResult{kImportWrite, n, end - g_question_at, calls_after - g_calls_at_question}};
}

bool Wanted(const std::vector<std::string>& only, const char* name) {
    return only.empty() || std::find(only.begin(), only.end(), name) != only.end();
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
    if (kind == ProjectKind::PlainMarks &&
        (Wanted(only_actions, kImportMatch) || Wanted(only_actions, kImportWrite))) {
        for (ActionResult& r : TimeImport(session, host, n)) {
            run.actions.push_back(std::move(r));
        }
    }
    return run;
}

}  // namespace kavrel::bench
