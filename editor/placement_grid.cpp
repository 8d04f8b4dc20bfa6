#include "editor/placement_grid.h"

#include <algorithm>
#include <cmath>

namespace kavrel {
namespace {

// A box over more cells than this is kept aside and met by every search.
constexpr std::size_t kMostCellsPerItem = 64;

}  // namespace

PlacementGrid::PlacementGrid(const Bounds& region, double cell, std::size_t most_cells) {
    const double width = region.xmax - region.xmin;
    const double height = region.ymax - region.ymin;
    if (!(std::isfinite(width) && std::isfinite(height) && width >= 0.0 && height >= 0.0 &&
          cell > 0.0)) {
        first_.assign(1, kNone);
        cell_ = INFINITY;
        return;
    }
    most_cells = std::max<std::size_t>(most_cells, 1);
    // A region too large for the cells gets larger cells.
    cell = std::max(cell, std::sqrt(width * height / static_cast<double>(most_cells)));
    while ((std::floor(width / cell) + 1) * (std::floor(height / cell) + 1) >
           static_cast<double>(most_cells)) {
        cell *= 1.5;
    }
    x0_ = region.xmin;
    y0_ = region.ymin;
    cell_ = cell;
    columns_ = static_cast<std::size_t>(std::floor(width / cell)) + 1;
    rows_ = static_cast<std::size_t>(std::floor(height / cell)) + 1;
    first_.assign(columns_ * rows_, kNone);
}

bool PlacementGrid::CellsOf(const Bounds& box, Cells& cells) const {
    if (!std::isfinite(cell_)) {
        return false;
    }
    const double last_x = static_cast<double>(columns_ - 1);
    const double last_y = static_cast<double>(rows_ - 1);
    const double x0 = std::floor((box.xmin - x0_) / cell_);
    const double y0 = std::floor((box.ymin - y0_) / cell_);
    const double x1 = std::floor((box.xmax - x0_) / cell_);
    const double y1 = std::floor((box.ymax - y0_) / cell_);
    // Also false for a box with a coordinate that is no number.
    if (!(x1 >= 0.0 && y1 >= 0.0 && x0 <= last_x && y0 <= last_y)) {
        return false;
    }
    cells = {static_cast<std::size_t>(std::max(x0, 0.0)),
             static_cast<std::size_t>(std::max(y0, 0.0)),
             static_cast<std::size_t>(std::min(x1, last_x)),
             static_cast<std::size_t>(std::min(y1, last_y))};
    return true;
}

void PlacementGrid::Insert(std::uint32_t item, const Bounds& box) {
    Cells cells;
    if (!CellsOf(box, cells)) {
        return;
    }
    if ((cells.x1 - cells.x0 + 1) * (cells.y1 - cells.y0 + 1) > kMostCellsPerItem) {
        large_.push_back(item);
        return;
    }
    for (std::size_t cx = cells.x0; cx <= cells.x1; ++cx) {
        for (std::size_t cy = cells.y0; cy <= cells.y1; ++cy) {
            std::uint32_t& first = first_[cx * rows_ + cy];
            entries_.push_back({item, first});
            first = static_cast<std::uint32_t>(entries_.size() - 1);
        }
    }
}

}  // namespace kavrel
