// kavrel.dll in a running stand-in host, driven as the host drives it: loaded
// from its file, created through its class factory, connected, asked for its
// commands, its editor panel opened with command 2; clicks reach the panel's
// real buttons as BM_CLICK. Message boxes a click shows are answered and
// collected, so that a failing action is seen instead of blocking the run.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/com_ptr.h"
#include "gis/host_api.h"
#include "host/com/host_context.h"

namespace kavrel::bench {

// Seconds on the performance counter.
double Now();

// Sets the user's regional decimal separator for the life of the object.
class DecimalSeparatorScope {
  public:
    explicit DecimalSeparatorScope(wchar_t separator);
    ~DecimalSeparatorScope();
    DecimalSeparatorScope(const DecimalSeparatorScope&) = delete;
    DecimalSeparatorScope& operator=(const DecimalSeparatorScope&) = delete;

  private:
    wchar_t previous_[8] = {};
    bool changed_ = false;
};

class AddonSession {
  public:
    AddonSession(const std::wstring& dll_path, host::HostContext& host);
    ~AddonSession();
    AddonSession(const AddonSession&) = delete;
    AddonSession& operator=(const AddonSession&) = delete;

    // Loads the library, connects the add-on and reads its commands; seconds.
    double LoadAndConnect();
    // Command 2; seconds. Throws when no panel appeared or a message box did.
    double OpenPanel();
    // A click on the named panel control with every queued message run after
    // it; the texts of the message boxes it showed.
    std::vector<std::wstring> Click(const char* control);
    void SetChecked(const char* control, bool checked);
    // Command 1; the import dialog it opened. Throws when none appeared.
    HWND OpenImportDialog();

  private:
    HWND Panel() const;
    HWND Control(const char* name) const;
    void Pump();

    std::wstring dll_path_;
    host::HostContext& host_;
    HMODULE module_ = nullptr;
    ComPtr<IHostAddOn> addon_;
};

}  // namespace kavrel::bench
