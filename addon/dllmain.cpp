// Load and unload of the library: the COM server, the add-on list and the one
// add-on object come into being at load and go at unload.
#include <windows.h>

#include "addon/addn.h"
#include "addon/library_lifecycle.h"
#include "frame/com_server.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) noexcept {
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            return kavrel::LibraryLoad() ? TRUE : FALSE;
        case DLL_PROCESS_DETACH:
            if (reserved) {
                // The process is ending: other libraries and the host may be
                // gone already, so nothing is called and nothing is freed.
                kavrel::LibraryAbandon();
            } else {
                kavrel::LibraryUnload();
            }
            return TRUE;
        default:
            return TRUE;
    }
}
