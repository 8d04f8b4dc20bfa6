// A uniform grid of square cells over boxes on the map: what lies near a box is
// found by looking at the cells it touches, not at everything. Items are
// numbers the caller gives; an item may be met more than once in one search.
// Windows-free.
#pragma once

#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "editor/label_box.h"

namespace kavrel {

class PlacementGrid {
  public:
    explicit PlacementGrid(double cell) : cell_(cell) {}

    void Insert(std::uint32_t item, const Bounds& box);

    // Calls visit(item) for every item whose cells meet the box.
    template <typename Visit>
    void Near(const Bounds& box, Visit&& visit) const {
        for (std::uint32_t item : large_) {
            visit(item);
        }
        Cells cells;
        if (!CellsOf(box, cells)) {
            // Beyond the grid's range: only a search of every cell would do.
            for (const auto& [key, items] : cells_) {
                for (std::uint32_t item : items) {
                    visit(item);
                }
            }
            return;
        }
        for (std::int64_t cx = cells.x0; cx <= cells.x1; ++cx) {
            for (std::int64_t cy = cells.y0; cy <= cells.y1; ++cy) {
                const auto found = cells_.find(Key(cx, cy));
                if (found != cells_.end()) {
                    for (std::uint32_t item : found->second) {
                        visit(item);
                    }
                }
            }
        }
    }

  private:
    struct Cells {
        std::int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        std::int64_t Count() const { return (x1 - x0 + 1) * (y1 - y0 + 1); }
    };
    struct KeyHash {
        std::size_t operator()(std::uint64_t key) const noexcept {
            const std::uint64_t mixed = key * 0x9E3779B97F4A7C15ULL;
            return static_cast<std::size_t>(mixed ^ (mixed >> 32));
        }
    };

    bool CellsOf(const Bounds& box, Cells& cells) const;
    static std::uint64_t Key(std::int64_t cx, std::int64_t cy) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) |
               static_cast<std::uint32_t>(cy);
    }

    double cell_;
    std::unordered_map<std::uint64_t, std::vector<std::uint32_t>, KeyHash> cells_;
    // Items too large for the cells (or beyond their range): met by every search.
    std::vector<std::uint32_t> large_;
};

}  // namespace kavrel
