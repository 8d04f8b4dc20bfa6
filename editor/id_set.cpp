#include "editor/id_set.h"

#include <functional>

namespace kavrel {
namespace {

std::size_t TableSizeFor(std::size_t count) {
    std::size_t size = 16;
    while (size < 2 * count) {
        size *= 2;
    }
    return size;
}

}  // namespace

IdSet::IdSet(std::size_t expected) : slots_(TableSizeFor(expected)) {
    text_.reserve(expected * 12);
}

bool IdSet::Insert(std::u16string_view id) {
    if (2 * (count_ + 1) > slots_.size()) {
        Grow();
    }
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = std::hash<std::u16string_view>{}(id)&mask;; at = (at + 1) & mask) {
        Slot& slot = slots_[at];
        if (slot.length == kEmpty) {
            slot.start = static_cast<std::uint32_t>(text_.size());
            slot.length = static_cast<std::uint32_t>(id.size());
            text_.append(id);
            ++count_;
            return true;
        }
        if (At(slot) == id) {
            return false;
        }
    }
}

void IdSet::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.length == kEmpty) {
            continue;
        }
        std::size_t at = std::hash<std::u16string_view>{}(At(slot)) & mask;
        while (slots_[at].length != kEmpty) {
            at = (at + 1) & mask;
        }
        slots_[at] = slot;
    }
}

}  // namespace kavrel
