// A uniform grid over item bounding boxes: the candidates for a rectangle query
// are found without looking at every item. Items are small integers (the
// model's object numbers); each has at most one box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "host/model/geometry.h"

namespace kavrel::host {

class SpatialIndex {
  public:
    // Sets (or with none, removes) the box of an item.
    void Update(std::size_t item, const std::optional<Rect>& box);

    // Builds the grid now if it is due (a query would build it otherwise).
    void Build() const;

    // Items whose boxes overlap the rectangle, in ascending order.
    std::vector<std::size_t> Candidates(const Rect& rect) const;

    std::size_t size() const { return count_; }
    double cell_size() const { return cell_; }

  private:
    struct Entry {
        bool present = false;
        bool large = false;  // spans too many cells: kept in large_
        Rect box;
        // The cells the item is entered in (while the grid is built and the
        // item is not large).
        std::int64_t cx0 = 0, cy0 = 0, cx1 = 0, cy1 = 0;
        std::size_t large_slot = 0;  // its place in large_, when large
    };
    using CellKey = std::uint64_t;
    // std::hash of a 64-bit key keeps only its low half where size_t has 32
    // bits: every cell of a grid row would share one bucket, and a lookup
    // would walk a chain as long as the grid is wide. Mix both halves.
    struct CellHash {
        std::size_t operator()(CellKey key) const noexcept {
            const std::uint64_t mixed = key * 0x9E3779B97F4A7C15ULL;
            return static_cast<std::size_t>(mixed ^ (mixed >> 32));
        }
    };

    void Rebuild() const;
    void Insert(std::size_t item) const;
    void Remove(std::size_t item) const;
    bool CellRange(const Rect& box, std::int64_t& cx0, std::int64_t& cy0, std::int64_t& cx1,
                   std::int64_t& cy1) const;
    static CellKey Key(std::int64_t cx, std::int64_t cy);

    mutable std::vector<Entry> entries_;  // "large" changes when the grid is rebuilt
    std::size_t count_ = 0;
    // The grid is rebuilt lazily with a cell size fitted to the data whenever
    // the item count has doubled since the last build.
    mutable double cell_ = 0;
    mutable std::size_t built_for_ = 0;
    mutable bool built_ = false;
    mutable std::unordered_map<CellKey, std::vector<std::size_t>, CellHash> cells_;
    mutable std::vector<std::size_t> large_;
    mutable std::vector<std::uint32_t> seen_;
    mutable std::uint32_t stamp_ = 0;
};

}  // namespace kavrel::host
