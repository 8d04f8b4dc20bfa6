// Loads the add-on as a host does: straight from a DLL path (LoadLibrary,
// DllGetClassObject, IClassFactory) or by class identifier through the
// registry (CoCreateInstance after regsvr32); then reads its identity and
// commands, and at the end disconnects, releases and unloads it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/com_ptr.h"
#include "base/unique_handle.h"
#include "gis/host_api.h"
#include "host/session/recording_stream.h"

namespace kavrel::host {

class HostContext;

// Owner of a module loaded with LoadLibrary: FreeLibrary on release.
using ModuleHandle = UniqueHandle<HMODULE, &FreeLibrary>;

struct LoadedCommand {
    MacroAttrs attrs;
    HRESULT save_status = S_OK;
    std::vector<std::string> stream_calls;
    BitmapStreamInfo bitmap;
    std::vector<std::uint8_t> bitmap_bytes;  // what SaveBitmap wrote
};

class AddonLoader {
  public:
    // With a path the DLL is loaded from it; without, through the registry.
    AddonLoader(HostContext& host, std::optional<std::wstring> dll_path);
    ~AddonLoader();
    AddonLoader(const AddonLoader&) = delete;
    AddonLoader& operator=(const AddonLoader&) = delete;

    // M2DllRegisterAddOn(applied, active); null applied is passed as a null pointer.
    HRESULT Register(const char* applied, LONG active);
    // Creates the add-on object, then GetInfo, Connect, GetMacroAttrs and
    // SaveBitmap for each command. Throws StepFailure when the object cannot
    // be created; the statuses of the add-on's own answers are kept.
    void Connect();
    HRESULT Disconnect();
    HRESULT Execute(LONG id, LONG param = 0);
    // Releases the add-on object and its command list and unloads the DLL
    // when it agrees (DllCanUnloadNow); answers whether it was unloaded.
    bool Unload();

    bool connected() const { return connected_; }
    bool created() const { return static_cast<bool>(addon_); }
    const AddOnInfo& info() const { return info_; }
    const std::vector<LoadedCommand>& commands() const { return commands_; }
    // Statuses of the last connection: GetInfo, Connect, GetMacroAttrs.
    HRESULT info_status() const { return info_status_; }
    HRESULT connect_status() const { return connect_status_; }
    HRESULT macro_attrs_status() const { return macro_attrs_status_; }
    std::optional<HRESULT> can_unload_now() const { return can_unload_now_; }
    bool unloaded() const { return unloaded_; }
    std::wstring module_path() const;

  private:
    void LoadModule();
    ComPtr<IHostAddOn> CreateAddon();

    HostContext& host_;
    std::optional<std::wstring> dll_path_;
    ModuleHandle module_;
    ComPtr<IHostAddOn> addon_;
    ComPtr<IM2MacroAttrsList> macros_;
    AddOnInfo info_{};
    std::vector<LoadedCommand> commands_;
    HRESULT info_status_ = S_OK;
    HRESULT connect_status_ = S_OK;
    HRESULT macro_attrs_status_ = S_OK;
    bool connected_ = false;
    std::optional<HRESULT> can_unload_now_;
    bool unloaded_ = false;
};

}  // namespace kavrel::host
