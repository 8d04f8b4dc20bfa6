// The forms layer's live counts inside a loaded add-on module, read from the
// section the layer publishes them in (ui/resource_count.h).
#pragma once

#include <windows.h>

#include <string>

namespace kavrel::testing {

struct UiCounts {
    long form_objects = 0;
    long form_windows = 0;
    long gdi_objects = 0;

    bool operator==(const UiCounts&) const = default;
};

// The counts of the forms layer in `module`; all zero when the module has not
// counted anything yet (its section does not exist then).
UiCounts ReadUiCounts(HMODULE module);

std::string Describe(const UiCounts& counts);

}  // namespace kavrel::testing
