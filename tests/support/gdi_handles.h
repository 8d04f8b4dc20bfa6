// The GDI objects of this process, as GetGuiResources(GR_GDIOBJECTS) counts
// them on Windows. Wine answers 0 there; it keeps the process's GDI handles in
// a table shared with the process (the PEB's GdiSharedHandleTable, 24-byte
// entries, the handle's low word the index, its high word the entry's unique
// value), which is read instead.
#pragma once

#include <optional>

namespace kavrel::testing {

// The count, or nothing when neither way gives one (a table whose layout does
// not answer for a brush made and deleted for the purpose).
std::optional<long> ProcessGdiObjects();

}  // namespace kavrel::testing
