// A grid of square cells over the region of the map where labels are placed:
// what lies near a box is found by looking at the cells the box touches, not
// at everything. The cells are one array and the items in them one list, so
// building a grid of 100,000 items allocates a few large blocks, not one per
// cell. Items are numbers the caller gives; an item may be met more than once
// in one search. Windows-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/label_box.h"

namespace kavrel {

class PlacementGrid {
  public:
    // Cells of about `cell` a side over `region`, made larger when the region
    // would need more than `most_cells` of them. Searches stay in the region;
    // what lies wholly outside it is never met.
    PlacementGrid(const Bounds& region, double cell, std::size_t most_cells);

    void Insert(std::uint32_t item, const Bounds& box);

    // Calls visit(item) for every item entered in a cell the box touches.
    template <typename Visit>
    void Near(const Bounds& box, Visit&& visit) const {
        for (std::uint32_t item : large_) {
            visit(item);
        }
        Cells cells;
        if (!CellsOf(box, cells)) {
            return;
        }
        for (std::size_t cx = cells.x0; cx <= cells.x1; ++cx) {
            for (std::size_t cy = cells.y0; cy <= cells.y1; ++cy) {
                for (std::uint32_t at = first_[cx * rows_ + cy]; at != kNone;
                     at = entries_[at].next) {
                    visit(entries_[at].item);
                }
            }
        }
    }

  private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    struct Cells {
        std::size_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    };
    struct Entry {
        std::uint32_t item;
        std::uint32_t next;
    };

    // The cells the box touches, clipped to the grid; false when it misses it.
    bool CellsOf(const Bounds& box, Cells& cells) const;

    double x0_ = 0.0;
    double y0_ = 0.0;
    double cell_ = 1.0;
    std::size_t columns_ = 1;           // along x
    std::size_t rows_ = 1;              // along y
    std::vector<std::uint32_t> first_;  // per cell, its first entry
    std::vector<Entry> entries_;
    // Items over too many cells: met by every search.
    std::vector<std::uint32_t> large_;
};

}  // namespace kavrel
