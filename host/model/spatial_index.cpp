#include "host/model/spatial_index.h"

#include <algorithm>
#include <cmath>

namespace kavrel::host {
namespace {

// An item whose box covers more cells than this is checked on every query
// instead of being entered in each cell.
constexpr std::int64_t kMaxCellsPerItem = 64;

}  // namespace

SpatialIndex::CellKey SpatialIndex::Key(std::int64_t cx, std::int64_t cy) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) |
           static_cast<std::uint32_t>(cy);
}

bool SpatialIndex::CellRange(const Rect& box, std::int64_t& cx0, std::int64_t& cy0,
                             std::int64_t& cx1, std::int64_t& cy1) const {
    const double limit = 1e9;  // cell numbers must fit the 32-bit halves of a key
    const double fx0 = std::floor(box.xmin / cell_);
    const double fy0 = std::floor(box.ymin / cell_);
    const double fx1 = std::floor(box.xmax / cell_);
    const double fy1 = std::floor(box.ymax / cell_);
    if (!(std::fabs(fx0) < limit && std::fabs(fy0) < limit && std::fabs(fx1) < limit &&
          std::fabs(fy1) < limit)) {
        return false;
    }
    cx0 = static_cast<std::int64_t>(fx0);
    cy0 = static_cast<std::int64_t>(fy0);
    cx1 = static_cast<std::int64_t>(fx1);
    cy1 = static_cast<std::int64_t>(fy1);
    return true;
}

void SpatialIndex::Insert(std::size_t item) const {
    Entry& entry = entries_[item];
    std::int64_t cx0, cy0, cx1, cy1;
    if (!CellRange(entry.box, cx0, cy0, cx1, cy1) ||
        (cx1 - cx0 + 1) * (cy1 - cy0 + 1) > kMaxCellsPerItem) {
        entry.large = true;
        entry.large_slot = large_.size();
        large_.push_back(item);
        return;
    }
    entry.large = false;
    entry.cx0 = cx0;
    entry.cy0 = cy0;
    entry.cx1 = cx1;
    entry.cy1 = cy1;
    for (std::int64_t cx = cx0; cx <= cx1; ++cx) {
        for (std::int64_t cy = cy0; cy <= cy1; ++cy) {
            cells_[Key(cx, cy)].push_back(item);
        }
    }
}

void SpatialIndex::Remove(std::size_t item) const {
    const Entry& entry = entries_[item];
    auto drop = [item](std::vector<std::size_t>& list) {
        auto it = std::find(list.begin(), list.end(), item);
        if (it != list.end()) {
            *it = list.back();
            list.pop_back();
        }
    };
    if (entry.large) {
        // By its slot: however many large items there are, removing one is
        // one step, and the last takes its place.
        const std::size_t last = large_.back();
        large_[entry.large_slot] = last;
        entries_[last].large_slot = entry.large_slot;
        large_.pop_back();
        return;
    }
    for (std::int64_t cx = entry.cx0; cx <= entry.cx1; ++cx) {
        for (std::int64_t cy = entry.cy0; cy <= entry.cy1; ++cy) {
            auto it = cells_.find(Key(cx, cy));
            if (it != cells_.end()) {
                drop(it->second);
                if (it->second.empty()) {
                    cells_.erase(it);
                }
            }
        }
    }
}

void SpatialIndex::Rebuild() const {
    cells_.clear();
    large_.clear();
    std::optional<Rect> extent;
    double box_sizes = 0;
    for (const Entry& entry : entries_) {
        if (!entry.present) {
            continue;
        }
        if (extent) {
            extent->Extend(entry.box);
        } else {
            extent = entry.box;
        }
        box_sizes += std::max(entry.box.xmax - entry.box.xmin, entry.box.ymax - entry.box.ymin);
    }
    cell_ = 1.0;
    if (extent && count_ > 0) {
        const double span = std::max(extent->xmax - extent->xmin, extent->ymax - extent->ymin);
        // About one item per cell on evenly spread data, never smaller than a typical item.
        const double per_side = std::ceil(std::sqrt(static_cast<double>(count_)));
        cell_ = std::max(span / per_side, box_sizes / static_cast<double>(count_));
        if (!(cell_ > 0) || !std::isfinite(cell_)) {
            cell_ = 1.0;
        }
    }
    for (std::size_t item = 0; item < entries_.size(); ++item) {
        if (entries_[item].present) {
            Insert(item);
        }
    }
    built_for_ = count_;
    built_ = true;
}

void SpatialIndex::Update(std::size_t item, const std::optional<Rect>& box) {
    if (item >= entries_.size()) {
        entries_.resize(item + 1);
    }
    Entry& entry = entries_[item];
    if (entry.present && box && built_ && !entry.large) {
        // A box that stays within the same cells (an edited vertex, a moved
        // label) only changes the entry: the cell lists stay as they are.
        std::int64_t cx0, cy0, cx1, cy1;
        if (CellRange(*box, cx0, cy0, cx1, cy1) && cx0 == entry.cx0 && cy0 == entry.cy0 &&
            cx1 == entry.cx1 && cy1 == entry.cy1) {
            entry.box = *box;
            return;
        }
    }
    if (entry.present) {
        if (built_) {
            Remove(item);
        }
        entry.present = false;
        --count_;
    }
    if (!box) {
        return;
    }
    entry.present = true;
    entry.box = *box;
    ++count_;
    if (built_) {
        Insert(item);
    }
}

void SpatialIndex::Build() const {
    if (!built_ || count_ > 2 * built_for_ + 16) {
        Rebuild();
    }
}

std::vector<std::size_t> SpatialIndex::Candidates(const Rect& rect) const {
    Build();
    if (seen_.size() < entries_.size()) {
        seen_.resize(entries_.size(), 0);
    }
    if (++stamp_ == 0) {
        std::fill(seen_.begin(), seen_.end(), 0);
        stamp_ = 1;
    }
    std::vector<std::size_t> out;
    auto consider = [&](std::size_t item) {
        if (seen_[item] != stamp_ && entries_[item].box.Overlaps(rect)) {
            seen_[item] = stamp_;
            out.push_back(item);
        }
    };
    for (std::size_t item : large_) {
        consider(item);
    }
    std::int64_t cx0, cy0, cx1, cy1;
    const bool bounded = CellRange(rect, cx0, cy0, cx1, cy1);
    const double cells =
        bounded ? static_cast<double>(cx1 - cx0 + 1) * static_cast<double>(cy1 - cy0 + 1) : 0.0;
    if (!bounded || cells > static_cast<double>(cells_.size())) {
        // The rectangle covers more cells than are occupied: walk the occupied ones.
        for (const auto& [key, items] : cells_) {
            for (std::size_t item : items) {
                consider(item);
            }
        }
    } else {
        for (std::int64_t cx = cx0; cx <= cx1; ++cx) {
            for (std::int64_t cy = cy0; cy <= cy1; ++cy) {
                auto it = cells_.find(Key(cx, cy));
                if (it == cells_.end()) {
                    continue;
                }
                for (std::size_t item : it->second) {
                    consider(item);
                }
            }
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace kavrel::host
