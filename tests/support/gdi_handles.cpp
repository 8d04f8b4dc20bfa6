#include "tests/support/gdi_handles.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstring>

namespace kavrel::testing {
namespace {

constexpr std::size_t kEntries = 0x10000;

// One entry of Wine's table: the object, its owner, the unique value (the
// handle's high word), its type (0 for a free entry), flags, a user pointer.
struct HandleEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(HandleEntry) == 24);

const HandleEntry* SharedTable() {
    PROCESS_BASIC_INFORMATION process{};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &process,
                                  sizeof process, nullptr) != 0 ||
        !process.PebBaseAddress) {
        return nullptr;
    }
    const auto* peb = reinterpret_cast<const std::uint8_t*>(process.PebBaseAddress);
    const void* table = nullptr;
    std::memcpy(&table, peb + (sizeof(void*) == 8 ? 0xF8 : 0x94), sizeof table);
    return static_cast<const HandleEntry*>(table);
}

bool Live(const HandleEntry& entry) {
    return entry.type != 0;
}

// The table answers for a brush: its entry is live with the handle's unique
// value while the brush exists, and free once it is deleted.
bool TableAnswers(const HandleEntry* table) {
    const HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    const HandleEntry& entry = table[value & 0xFFFF];
    const bool live = Live(entry) && entry.unique == ((value >> 16) & 0xFFFF);
    DeleteObject(brush);
    return live && !Live(entry);
}

}  // namespace

std::optional<long> ProcessGdiObjects() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) {
        return static_cast<long>(count);
    }
    const HandleEntry* table = SharedTable();
    if (!table || !TableAnswers(table)) {
        return std::nullopt;
    }
    long count = 0;
    for (std::size_t i = 0; i < kEntries; ++i) {
        count += Live(table[i]) ? 1 : 0;
    }
    return count;
}

}  // namespace kavrel::testing
