// The library-wide references: one each per loaded library, all used on the
// host's user-interface thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "addon/com_ptr.h"
#include "addon/host_api.h"

class TfKavrelEditor;  // the mark editor panel

namespace kavrel {

class TM2CustomAddon;
class TFAd;

// Every add-on object that exists, in creation order.
using TAddonList = std::vector<TM2CustomAddon*>;

extern std::unique_ptr<TAddonList> AddonList;
// The one add-on object of the library.
extern std::unique_ptr<TFAd> TheAddon;
// The add-on new top-level forms register with.
extern TM2CustomAddon* CurrentAddon;
// The host's main window, the owner of the add-on's forms; 0 when not connected.
extern HWND HostMainWindow;
// The host's error channel; set while connected.
extern ComPtr<IHostErrorInfo> HostErrors;
// The host application, for every automation call; taken with the command list.
extern ComPtr<IHostApplication> HostApp;
// The one editor panel, or null; the panel clears it when it is destroyed.
extern TfKavrelEditor* EditorPanel;

}  // namespace kavrel
