// Owner of one registry key handle.
#pragma once

#include <windows.h>

#include "base/unique_handle.h"

namespace kavrel {

using RegKey = UniqueHandle<HKEY, &RegCloseKey>;

}  // namespace kavrel
