#include "addon/library_lifecycle.h"

#include "addon/addn.h"
#include "addon/com_server.h"
#include "addon/errors.h"
#include "addon/library_refs.h"
#include "ui/exception_text.h"
#include "ui/form_window_class.h"
#include "ui/message_box.h"

namespace kavrel {

bool LibraryLoad() noexcept {
    try {
        ComServer = std::make_unique<TComServer>();
        AddonList = std::make_unique<TAddonList>();
        TheAddon = std::make_unique<TFAd>();
        // The add-on's windows speak with its caption and show exceptions with
        // the same texts the host is told.
        ui::SetApplicationTitle(TheAddon->Caption());
        ui::SetExceptionTextSource(&CurrentExceptionMessage);
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
