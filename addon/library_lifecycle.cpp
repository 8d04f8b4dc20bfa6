#include "addon/library_lifecycle.h"

#include "addon/addn.h"
#include "base/errors.h"
#include "frame/com_server.h"
#include "frame/library_refs.h"
#include "gis/host_calls.h"
#include "gis/host_errors.h"
#include "ui/form_window_class.h"
#include "ui/message_box.h"

namespace kavrel {

bool LibraryLoad() noexcept {
    try {
        ComServer = std::make_unique<TComServer>();
        AddonList = std::make_unique<TAddonList>();
        TheAddon = std::make_unique<TFAd>();
        // The add-on's windows speak with its caption.
        ui::SetApplicationTitle(TheAddon->Caption());
        return true;
    } catch (...) {
        LibraryUnload();
        return false;
    }
}

void LibraryUnload() noexcept {
    try {
        TheAddon.reset();
        // No window of ours is left, so the classes can go with the code.
        ui::UnregisterFormClasses();
        gis::HostApp.reset();
        AddonList.reset();
        if (ComServer) {
            ComServer->DestroyFactories();
        }
        ComServer.reset();
        gis::HostErrors.reset();
    } catch (...) {
        // Unloading goes on regardless.
    }
}

void LibraryAbandon() noexcept {
    // Left for the system to reclaim with the process: no destructor may call
    // into the host or into libraries that have gone already.
    (void)TheAddon.release();
    (void)gis::HostApp.Detach();
    (void)gis::HostErrors.Detach();
    (void)AddonList.release();
    (void)ComServer.release();
}

}  // namespace kavrel
