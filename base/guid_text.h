// A GUID as the registry and COM write it: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include <windows.h>

#include <string>

namespace kavrel {

// Empty only if the system cannot format it.
std::u16string GuidText(const GUID& guid);

}  // namespace kavrel
