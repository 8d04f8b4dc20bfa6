#include "frame/library_refs.h"

#include "frame/custom_addon.h"

namespace kavrel {

std::unique_ptr<TAddonList> AddonList;
std::unique_ptr<TM2CustomAddon> TheAddon;
TM2CustomAddon* CurrentAddon = nullptr;
HWND HostMainWindow = nullptr;

}  // namespace kavrel
