// Owner of a window handle.
#pragma once

#include <windows.h>

#include "base/unique_handle.h"

namespace kavrel {

// A window that its owner may already have seen destroyed (by its parent, or
// by the user closing it) is left alone.
inline void DestroyLiveWindow(HWND window) noexcept {
    if (IsWindow(window)) {
        DestroyWindow(window);
    }
}

// Owner of one window: DestroyWindow on release.
using WindowHandle = UniqueHandle<HWND, &DestroyLiveWindow>;

}  // namespace kavrel
