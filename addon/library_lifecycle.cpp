#include "addon/library_lifecycle.h"

#include "addon/addn.h"
#include "addon/com_server.h"
#include "addon/library_refs.h"

namespace kavrel {

bool LibraryLoad() noexcept {
    try {
        ComServer = std::make_unique<TComServer>();
        AddonList = std::make_unique<TAddonList>();
        TheAddon = std::make_unique<TFAd>();
        return true;
    } catch (...) {
        LibraryUnload();
        return false;
    }
}

void LibraryUnload() noexcept {
    try {
        TheAddon.reset();
        HostApp.reset();
        AddonList.reset();
        if (ComServer) {
            ComServer->DestroyFactories();
        }
        ComServer.reset();
        HostErrors.reset();
    } catch (...) {
        // Unloading goes on regardless.
    }
}

void LibraryAbandon() noexcept {
    // Left for the system to reclaim with the process: no destructor may call
    // into the host or into libraries that have gone already.
    (void)TheAddon.release();
    (void)HostApp.Detach();
    (void)HostErrors.Detach();
    (void)AddonList.release();
    (void)ComServer.release();
}

}  // namespace kavrel
