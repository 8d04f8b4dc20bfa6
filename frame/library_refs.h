// The frame's library-wide references: one each per loaded library, all used
// on the host's user-interface thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

namespace kavrel {

class TM2CustomAddon;

// Every add-on object that exists, in creation order.
using TAddonList = std::vector<TM2CustomAddon*>;

extern std::unique_ptr<TAddonList> AddonList;
// The one add-on object of the library.
extern std::unique_ptr<TM2CustomAddon> TheAddon;
// The add-on new top-level forms register with.
extern TM2CustomAddon* CurrentAddon;
// The host's main window, the owner of the add-on's forms; 0 when not connected.
extern HWND HostMainWindow;

}  // namespace kavrel
