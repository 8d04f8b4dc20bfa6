// Owner of one kernel object handle: a process, a thread, a file, a section.
#pragma once

#include <windows.h>

#include "base/unique_handle.h"

namespace kavrel {

class KernelHandle : public UniqueHandle<HANDLE, &CloseHandle> {
  public:
    constexpr KernelHandle() noexcept = default;
    // CreateFile answers INVALID_HANDLE_VALUE where the others answer null;
    // both are held as no handle.
    explicit KernelHandle(HANDLE handle) noexcept
        : UniqueHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
};

}  // namespace kavrel
