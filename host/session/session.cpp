#include "host/session/session.h"

#include <chrono>
#include <exception>

#include "base/wide.h"
#include "host/com/host_context.h"
#include "host/session/addon_loader.h"
#include "host/session/form_driver.h"
#include "host/session/message_loop.h"
#include "host/session/modal_watch.h"
#include "host/session/session_error.h"
#include "host/session/session_steps.h"
#include "host/session/step_changes.h"
#include "host/session/step_detail.h"
#include "host/session/step_fields.h"

namespace kavrel::host {

using nlohmann::json;

namespace {

// "3" and the teardown's "end"; not "3.then[0]".
bool IsTopLevel(const std::string& path) {
    return path.find_first_of(".[") == std::string::npos;
}

}  // namespace

void Session::RunSteps(const json& steps, HWND scope, const std::string& path) {
    if (!steps.is_array()) {
        throw StepFailure(path + ": steps must be an array");
    }
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const std::string here =
            path.empty() ? std::to_string(i) : path + "[" + std::to_string(i) + "]";
        if (path.empty()) {
            current_index_ = static_cast<long>(i);
            RunRecordedStep(steps[i], scope, here);
        } else {
            RunStep(steps[i], scope, here);
        }
    }
}

void Session::Teardown() {
    const json step = json::object();
    try {
        Watched(step, "end", [&] {
            if (loader_.connected()) {
                loader_.Disconnect();
            }
            loader_.Unload();
        });
    } catch (const StepFailure&) {
    }
}

void Session::RecordStatus(const std::string& path, const std::string& what, HRESULT status) {
    statuses_.push_back({{"step", path}, {"do", what}, {"status", StatusText(status)}});
}

void Session::Watched(const json& step, const std::string& path,
                      const std::function<void()>& action) {
    const json* then = nullptr;
    if (auto it = step.find("then"); it != step.end()) {
        then = &*it;
    }
    std::optional<std::string> failure;
    ModalWatch watch([&](HWND modal, bool first) {
        return HandleModal(modal, first ? then : nullptr, path, failure);
    });
    action();
    // The host's loop runs before the next step, still watched: what the
    // add-on deferred to it happens within this step.
    if (IsTopLevel(path)) {
        DispatchQueuedMessages();
    }
    if (failure) {
        throw StepFailure(*failure);
    }
    if (then && !watch.fired()) {
        throw StepFailure(path + ": the step opened no modal window for its \"then\" steps");
    }
}

// Inside the modal loop: records a message box's text, runs the "then" steps
// against the window and answers it unless a step did. Answers true for a
// modal form the steps ran in, to be closed if it is still modal afterwards.
bool Session::HandleModal(HWND modal, const json* then, const std::string& path,
                          std::optional<std::string>& failure) {
    const bool box = IsMessageBoxWindow(modal);
    if (box) {
        messages_.push_back(WideToUtf8(MessageBoxText(modal)));
    }
    if (then) {
        try {
            RunSteps(*then, modal, path + ".then");
        } catch (const StepFailure& step_failure) {
            failure = step_failure.what();
        } catch (const std::exception& e) {
            failure = path + ": " + e.what();
        }
    }
    // A handle may come back for a later window: the mark goes with this one.
    const bool answered = answered_.erase(modal) > 0;
    if (!IsWindow(modal) || answered) {
        return false;
    }
    if (box) {
        // Sent, so that the box hides at once.
        SendMessageW(modal, WM_COMMAND, IDOK, 0);
        return false;
    }
    if (then) {
        // The steps may have ended the form's loop, which ends only when this
        // callback returns: a close now would reach the form later, as if the
        // user closed it once more.
        return true;
    }
    PostMessageW(modal, WM_CLOSE, 0, 0);
    return false;
}

// A top-level step, timed, with what it changed on the committed map.
void Session::RunRecordedStep(const json& step, HWND scope, const std::string& path) {
    StepRecord record;
    record.path = path;
    if (step.is_object()) {
        record.what = step.value("do", "");
        if (auto note = step.find("note"); note != step.end() && note->is_string()) {
            record.note = note->get<std::string>();
        }
        record.detail = StepDetail(step);
    }
    struct Recorder {
        Session& session;
        StepRecord& record;
        const ModelSnapshot before = SnapshotOf(session.host_.model());
        const std::size_t messages_before = session.messages_.size();
        const std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
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
            record.changes =
                CompareSnapshots(session.host_.model(), before, SnapshotOf(session.host_.model()),
                                 session.host_.decimal_separator());
            session.records_.push_back(std::move(record));
        }
    } recorder{*this, record};
    RunStep(step, scope, path);
    recorder.done = true;
}

void Session::RunStep(const json& step, HWND scope, const std::string& path) {
    if (!step.is_object() || !step.contains("do") || !step["do"].is_string()) {
        throw StepFailure(path + ": a step is an object with \"do\"");
    }
    const std::string what = step["do"].get<std::string>();
    try {
        RunNamedStep({*this, step, scope, path, what});
        if (IsTopLevel(path)) {
            // Also after the steps that arm no watch of their own.
            Watched(json::object(), path, [] {});
        }
    } catch (const StepFailure& failure) {
        const std::string reason = failure.what();
        if (reason.rfind(path, 0) == 0) {
            throw;
        }
        throw StepFailure(path + " (" + what + "): " + reason);
    }
}

}  // namespace kavrel::host
