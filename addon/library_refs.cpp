#include "addon/library_refs.h"

#include "addon/addn.h"

namespace kavrel {

std::unique_ptr<TAddonList> AddonList;
std::unique_ptr<TFAd> TheAddon;
TM2CustomAddon* CurrentAddon = nullptr;
HWND HostMainWindow = nullptr;
ComPtr<IHostErrorInfo> HostErrors;
ComPtr<IHostApplication> HostApp;
TfKavrelEditor* EditorPanel = nullptr;

}  // namespace kavrel
