// The identifiers of the objects one click has met, without a heap block per
// identifier: their texts lie one after the other in one string and an
// open-addressed table holds where each starts. At 100,000 objects a set of
// strings would be 100,000 blocks, each slower to get than the last under a
// host's heap. Windows-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavrel {

class IdSet {
  public:
    explicit IdSet(std::size_t expected = 0);

    // Adds the identifier; false when it was there already.
    bool Insert(std::u16string_view id);

  private:
    struct Slot {
        std::uint32_t start = 0;
        std::uint32_t length = kEmpty;
    };
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    std::u16string_view At(const Slot& slot) const {
        return std::u16string_view(text_).substr(slot.start, slot.length);
    }
    void Grow();

    std::u16string text_;
    std::vector<Slot> slots_;  // a power of two, at most half full
    std::size_t count_ = 0;
};

}  // namespace kavrel
