// The state of one running stand-in host: its map model, its windows, what it
// counts about its callers and the errors it has been told of. Every host COM
// object works on one HostContext, which must outlive the host's objects.
//
// Every operation runs inside Automation() or Sdk(): the call is counted, an
// armed fault fires, and a failure becomes a failing HRESULT with COM error
// information (automation layer) or with a text for
// IHostErrorInfo.GetLastError (SDK layer).
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "gis/host_api.h"
#include "host/com/accounting.h"
#include "host/com/com_base.h"
#include "host/com/host_failure.h"
#include "host/model/map_model.h"

namespace kavrel::host {

class HostWindows;
class TaskPanelObject;
class HostObjectRoot;

struct ReportedError {
    std::u16string source;
    std::u16string message;
};

class HostContext {
  public:
    HostContext(MapModel model, char16_t decimal_separator);
    ~HostContext();
    HostContext(const HostContext&) = delete;
    HostContext& operator=(const HostContext&) = delete;

    MapModel& model() { return model_; }
    Accounting& accounting() { return accounting_; }
    char16_t decimal_separator() const { return decimal_separator_; }

    HWND main_window() const;
    HWND map_window() const;
    HostWindows& windows() { return *windows_; }

    // The panel object of a key, created (with its window) on first use.
    IHostTaskPanel* TaskPanel(const std::u16string& key, const std::u16string& caption);
    HWND TaskPanelWindow(const std::u16string& key) const;
    std::vector<const TaskPanelObject*> TaskPanels() const;

    // The object handed to IHostAddOn.Connect (an IUnknown of the host object).
    IUnknown* HostObject();

    // Reports from the add-on and the host's own last SDK failure.
    std::vector<ReportedError>& reported_errors() { return reported_errors_; }
    const ReportedError& last_sdk_error() const { return last_sdk_error_; }
    bool has_last_sdk_error() const { return has_last_sdk_error_; }

    long redraws = 0;
    long task_panel_shows = 0;

    template <typename Body>
    HRESULT Automation(const char* operation, REFIID iid, Body&& body) noexcept {
        try {
            BeginCall(operation);
            SetErrorInfo(0, nullptr);
            return body();
        } catch (...) {
            return AutomationFailure(operation, iid);
        }
    }

    template <typename Body>
    HRESULT Sdk(const char* operation, Body&& body) noexcept {
        try {
            BeginCall(operation);
            return body();
        } catch (...) {
            return SdkFailure(operation);
        }
    }

  private:
    void BeginCall(const char* operation);
    // Called inside a catch block: classify the exception and report it.
    HRESULT AutomationFailure(const char* operation, REFIID iid) noexcept;
    HRESULT SdkFailure(const char* operation) noexcept;

    MapModel model_;
    Accounting accounting_;
    char16_t decimal_separator_;
    std::unique_ptr<HostWindows> windows_;
    std::map<std::u16string, HostHold<TaskPanelObject>> task_panels_;
    HostHold<HostObjectRoot> host_object_;
    std::vector<ReportedError> reported_errors_;
    ReportedError last_sdk_error_;
    bool has_last_sdk_error_ = false;
};

// The failure of the exception being handled (call inside a catch block).
HostFailure CurrentFailure() noexcept;

// A BSTR for an out argument; the caller frees it.
BSTR AllocBstr(std::u16string_view text);

}  // namespace kavrel::host
