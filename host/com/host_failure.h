// A failing host operation: the status it answers and the description (in
// Russian) that goes with it, as COM error information or as the SDK's last
// error text.
#pragma once

#include <windows.h>

#include <string>

namespace kavrel::host {

struct HostFailure {
    HRESULT status;
    std::u16string message;
    std::u16string source = {};  // an SDK failure's source text, when not the operation's name
};

// Host-specific statuses of the stand-in host (interface facility).
inline constexpr HRESULT kHostNotFound = static_cast<HRESULT>(0x80040201L);  // unknown identifier
inline constexpr HRESULT kHostInjectedFault = static_cast<HRESULT>(0x80040202L);  // armed fault

[[noreturn]] inline void Fail(HRESULT status, std::u16string message) {
    throw HostFailure{status, std::move(message)};
}

// Checks an out argument and clears it, so that it is written only on success.
template <typename T>
T* OutArg(T* slot) {
    if (!slot) {
        Fail(E_POINTER, u"Не передан адрес для результата");
    }
    *slot = T{};
    return slot;
}

}  // namespace kavrel::host
