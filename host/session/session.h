// One scripted session: runs the steps against the add-on, watches for the
// modal windows they open, and keeps what the result file reports (message
// texts, the add-on's statuses, a record of each top-level step).
#pragma once

#include <windows.h>

#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/session/session_report.h"

namespace kavrel::host {

class AddonLoader;
class HostContext;

class Session {
  public:
    Session(HostContext& host, AddonLoader& loader) : host_(host), loader_(loader) {}

    // Runs the steps in order; top-level ones (path "") are timed and recorded.
    // Throws StepFailure for the first step that cannot be carried out.
    void RunSteps(const nlohmann::json& steps, HWND scope, const std::string& path);

    // The host lets the add-on go: Disconnect if connected, release, unload;
    // a message box shown meanwhile is answered with OK.
    void Teardown();

    // For the step handlers.
    HostContext& host() { return host_; }
    AddonLoader& loader() { return loader_; }
    void RecordStatus(const std::string& path, const std::string& what, HRESULT status);
    // Runs an action that may open a modal window, with the step's "then"
    // steps run inside the first one it opens.
    void Watched(const nlohmann::json& step, const std::string& path,
                 const std::function<void()>& action);
    // A message box a step has answered itself (no OK from the watch).
    void MarkAnswered(HWND box) { answered_.insert(box); }
    // The folder of the script, with its closing separator: a step's "file"
    // is read from there.
    void set_script_folder(std::wstring folder) { script_folder_ = std::move(folder); }
    const std::wstring& script_folder() const { return script_folder_; }
    // A line the step in hand reports (what a window said), for the report.
    void AddOutput(std::string line) { output_.push_back(std::move(line)); }

    long current_index() const { return current_index_; }
    const std::vector<std::string>& messages() const { return messages_; }
    const nlohmann::ordered_json& statuses() const { return statuses_; }
    const std::vector<StepRecord>& records() const { return records_; }

  private:
    void RunRecordedStep(const nlohmann::json& step, HWND scope, const std::string& path);
    void RunStep(const nlohmann::json& step, HWND scope, const std::string& path);
    bool HandleModal(HWND modal, const nlohmann::json* then, const std::string& path,
                     std::optional<std::string>& failure);

    HostContext& host_;
    AddonLoader& loader_;
    std::vector<std::string> messages_;
    nlohmann::ordered_json statuses_ = nlohmann::ordered_json::array();
    std::set<HWND> answered_;
    long current_index_ = 0;
    std::vector<StepRecord> records_;
    std::wstring script_folder_;
    std::vector<std::string> output_;
};

}  // namespace kavrel::host
