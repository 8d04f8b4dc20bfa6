// The few places where a handle or an entry point changes type. The host's
// interfaces were made for 32-bit hosts: window handles travel as LONG (OLE
// automation's 32-bit integer) and the command list carries its bitmap handle
// in a 32-bit field. That is no loss on 64-bit Windows either: user and GDI
// handles are 32-bit significant there, and a 64-bit process gets them back by
// sign extension, as Windows' own HandleToLong/LongToHandle do.
#pragma once

#include <windows.h>

#include <cstdint>

namespace kavrel {

inline LONG WindowToLong(HWND window) noexcept {
    return static_cast<LONG>(reinterpret_cast<LONG_PTR>(window));
}

inline HWND WindowFromLong(LONG handle) noexcept {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(handle));
}

// The Bitmap field of MacroAttrs.
inline std::uint32_t BitmapToRecord(HBITMAP bitmap) noexcept {
    return static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(bitmap));
}

inline HBITMAP BitmapFromRecord(std::uint32_t field) noexcept {
    return reinterpret_cast<HBITMAP>(static_cast<LONG_PTR>(static_cast<std::int32_t>(field)));
}

// GetProcAddress typed as the export's own signature (null when it is missing).
// FARPROC differs between the 32- and 64-bit headers; the detour through a
// plain function pointer keeps -Wcast-function-type quiet in both.
template <typename Fn>
Fn ProcAddress(HMODULE module, const char* name) noexcept {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace kavrel
