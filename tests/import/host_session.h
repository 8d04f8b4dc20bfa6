// The add-on driven as the GIS host drives it: registered in the prefix,
// created through CoCreateInstance, connected to the stand-in host's object,
// asked for its command list, then given commands.
#pragma once

#include <windows.h>

#include <string>

#include "base/com_ptr.h"
#include "gis/host_api.h"
#include "host/com/host_context.h"

namespace kavrel::test {

inline constexpr LONG kImportCommand = 1;
inline constexpr LONG kEditorCommand = 2;

// COM initialised and kavrel.dll registered once for the test program.
void RegisterAddonOnce();

class HostSession {
  public:
    // The stand-in host with an empty map, numbers written with `separator`.
    explicit HostSession(char16_t separator = u',');
    // The stand-in host over a project (docs/project-format.md).
    explicit HostSession(const std::string& project_json, char16_t separator = u',');
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    host::HostContext& Host() { return host_; }
    HWND MainWindow() const { return host_.main_window(); }
    IHostAddOn* Addon() { return addon_.get(); }

    // Connect and GetMacroAttrs, as the host does on start.
    HRESULT Connect();
    HRESULT Disconnect();
    HRESULT Command(LONG id);

  private:
    HostSession(host::MapModel model, char16_t separator);

    // Never deleted: the add-on keeps the application object of the last host
    // that gave it its command list until the library is unloaded.
    host::HostContext& host_;
    ComPtr<IHostAddOn> addon_;
    bool connected_ = false;
};

}  // namespace kavrel::test
