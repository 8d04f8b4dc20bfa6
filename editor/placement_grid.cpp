#include "editor/placement_grid.h"

namespace kavrel {
namespace {

// A box over more cells than this is kept aside and met by every search.
constexpr std::int64_t kMostCellsPerItem = 64;
// Cell numbers beyond this do not fit the 32-bit halves of a key.
constexpr double kCellRange = 1e9;

}  // namespace

bool PlacementGrid::CellsOf(const Bounds& box, Cells& cells) const {
    const double x0 = std::floor(box.xmin / cell_);
    const double y0 = std::floor(box.ymin / cell_);
    const double x1 = std::floor(box.xmax / cell_);
    const double y1 = std::floor(box.ymax / cell_);
    if (!(std::fabs(x0) < kCellRange && std::fabs(y0) < kCellRange && std::fabs(x1) < kCellRange &&
          std::fabs(y1) < kCellRange)) {
        return false;
    }
    cells = {static_cast<std::int64_t>(x0), static_cast<std::int64_t>(y0),
             static_cast<std::int64_t>(x1), static_cast<std::int64_t>(y1)};
    return true;
}

void PlacementGrid::Insert(std::uint32_t item, const Bounds& box) {
    Cells cells;
    if (!CellsOf(box, cells) || cells.Count() > kMostCellsPerItem) {
        large_.push_back(item);
        return;
    }
    for (std::int64_t cx = cells.x0; cx <= cells.x1; ++cx) {
        for (std::int64_t cy = cells.y0; cy <= cells.y1; ++cy) {
            cells_[Key(cx, cy)].push_back(item);
        }
    }
}

}  // namespace kavrel
