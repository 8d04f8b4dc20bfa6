#include "tests/support/ui_counts.h"

#include <cstdint>
#include <stdexcept>

#include "base/kernel_handle.h"

namespace kavrel::testing {

UiCounts ReadUiCounts(HMODULE module) {
    wchar_t name[96];
    const auto base = reinterpret_cast<std::uintptr_t>(module);
    wsprintfW(name, L"Local\\kavrel.ui.counts.%lu.%08lx%08lx", GetCurrentProcessId(),
              static_cast<unsigned long>(static_cast<std::uint64_t>(base) >> 32),
              static_cast<unsigned long>(base & 0xFFFFFFFFu));
    const KernelHandle section(OpenFileMappingW(FILE_MAP_READ, FALSE, name));
    if (!section) {
        return {};
    }
    const auto* view =
        static_cast<const LONG*>(MapViewOfFile(section.get(), FILE_MAP_READ, 0, 0, 16));
    UiCounts counts;
    const bool whole = view && view[0] == 16;
    if (whole) {
        counts = {view[1], view[2], view[3]};
    }
    if (view) {
        UnmapViewOfFile(view);
    }
    if (!whole) {
        throw std::runtime_error("the forms layer's counts are not a record of 16 bytes");
    }
    return counts;
}

std::string Describe(const UiCounts& counts) {
    return "form objects " + std::to_string(counts.form_objects) + ", form windows " +
           std::to_string(counts.form_windows) + ", GDI objects " +
           std::to_string(counts.gdi_objects);
}

}  // namespace kavrel::testing
