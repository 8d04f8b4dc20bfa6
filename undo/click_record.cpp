#include "undo/click_record.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace kavrel {

namespace {

// The most vertices one correction writes per object (auto mark: the stroke's
// two and the label's two), and room for an identifier of a usual length.
constexpr std::size_t kMostVerticesPerObject = 4;
constexpr std::size_t kIdRoom = 16;

}  // namespace

bool SameBits(double a, double b) noexcept {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

bool SameBits(const gis::Vertex& a, const gis::Vertex& b) noexcept {
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.c, b.c);
}

void ClickRecord::Restart() {
    // The lists are emptied, not freed: the next click writes into memory the
    // process has already touched. Fresh pages cost a page fault each, and at
    // 100,000 objects those faults would be most of what recording costs.
    objects_.clear();
    vertices_.clear();
    ids_.clear();
    styles_.clear();
    height_field_.clear();
    rebuilt_.clear();
    index_ = -1;
    id_.clear();
    current_ = 0;
    has_current_ = false;
    next_ = 0;
    counts_ = UndoCounts();
    holds_heights_ = false;
    redrew_ = false;
}

void ClickRecord::Expect(std::size_t count) {
    // Reserved once for the whole click, so that the lists are never moved
    // while they grow; pages reserved but not written cost nothing.
    objects_.reserve(count);
    vertices_.reserve(count * kMostVerticesPerObject);
    ids_.reserve(count * kIdRoom);
}

void ClickRecord::Enter(LONG position, std::u16string id) {
    index_ = position;
    id_ = std::move(id);
    has_current_ = false;
}

void ClickRecord::Rebuilt() {
    Current().rebuilt = true;
    const auto at = static_cast<std::size_t>(index_);
    if (rebuilt_.size() <= at) {
        rebuilt_.resize(at + 1);
    }
    rebuilt_[at] = true;
}

bool ClickRecord::RebuiltByThisClick() const noexcept {
    const auto at = static_cast<std::size_t>(index_);
    return index_ >= 0 && at < rebuilt_.size() && rebuilt_[at];
}

void ClickRecord::Wrote(const WrittenShape& shape, LONG vertex, const gis::Vertex& before,
                        const gis::Vertex& after) {
    if (RebuiltByThisClick()) {
        return;
    }
    ObjectChange& change = Current();
    if (change.vertex_count == 0) {
        change.first_vertex = vertices_.size();
    }
    change.shape_count = shape.count;
    // A vertex written twice in one click keeps its first value before.
    const auto first = vertices_.begin() + static_cast<std::ptrdiff_t>(change.first_vertex);
    const auto again = std::find_if(first, vertices_.end(), [&](const VertexChange& v) {
        return v.shape == shape.index && v.vertex == vertex;
    });
    if (again != vertices_.end()) {
        again->after = after;
        return;
    }
    vertices_.push_back({shape.index, vertex, StyleIndex(shape.style), before, after});
    ++change.vertex_count;
}

void ClickRecord::WroteHeight(double before, double after) {
    if (RebuiltByThisClick()) {
        return;
    }
    ObjectChange& change = Current();
    // A height written twice in one click keeps its first value before.
    if (!change.height) {
        change.height = true;
        change.height_before = before;
    }
    change.height_after = after;
    holds_heights_ = true;
}

ObjectChange& ClickRecord::Current() {
    if (index_ < 0) {
        throw std::logic_error("a write recorded outside the walk of the selection");
    }
    if (!has_current_) {
        ObjectChange change;
        change.id_start = ids_.size();
        change.id_length = id_.size();
        ids_ += id_;
        objects_.push_back(change);
        current_ = objects_.size() - 1;
        has_current_ = true;
    }
    return objects_[current_];
}

void ClickRecord::Done(std::size_t UndoCounts::*outcome) {
    ++(counts_.*outcome);
    ++next_;
}

std::uint32_t ClickRecord::StyleIndex(const std::u16string& style) {
    const auto found = std::find(styles_.begin(), styles_.end(), style);
    if (found != styles_.end()) {
        return static_cast<std::uint32_t>(found - styles_.begin());
    }
    styles_.push_back(style);
    return static_cast<std::uint32_t>(styles_.size() - 1);
}

}  // namespace kavrel
