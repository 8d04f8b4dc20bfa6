// What the panel says after an undo that left objects alone. Windows-free.
#pragma once

#include <cstddef>
#include <string>

namespace kavrel {

// How many objects were restored and how many were left alone, and why; one
// line each, lines with a count of 0 (but the first) left out.
std::u16string UndoMessage(std::size_t restored, std::size_t changed, std::size_t rebuilt);

}  // namespace kavrel
