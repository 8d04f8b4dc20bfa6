// What is said after an undo that left objects alone. Windows-free.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kavrel {

// How many objects were restored and how many were left alone, and why; one
// line each, lines with a count of 0 (but the first) left out. `action` is
// what is taken back, in the genitive: "действия панели", "импорта".
std::u16string UndoMessage(std::size_t restored, std::size_t changed, std::size_t rebuilt,
                           std::u16string_view action = u"действия панели");

}  // namespace kavrel
