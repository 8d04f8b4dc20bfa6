// The module this code is linked into: the add-on's DLL inside kavrel.dll, the
// program in an executable. Resources, window classes and the registered file
// name are all of that module.
#pragma once

#include <windows.h>

namespace kavrel {

HMODULE CodeModule() noexcept;

}  // namespace kavrel
