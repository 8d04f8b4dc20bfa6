#include "editor/click_record.h"

#include <algorithm>
#include <stdexcept>

namespace kavrel {

void ClickRecord::Restart() {
    *this = ClickRecord();
}

void ClickRecord::Enter(LONG selection_index, std::u16string id) {
    index_ = selection_index;
    id_ = std::move(id);
    has_current_ = false;
}

void ClickRecord::Rebuilt() {
    Current(ChangeKind::Rebuilt);
    const auto at = static_cast<std::size_t>(index_);
    if (rebuilt_.size() <= at) {
        rebuilt_.resize(at + 1);
    }
    rebuilt_[at] = true;
}

void ClickRecord::Wrote(const WrittenShape& shape, LONG vertex, const gis::Vertex& before,
                        const gis::Vertex& after) {
    const auto at = static_cast<std::size_t>(index_);
    if (at < rebuilt_.size() && rebuilt_[at]) {
        return;
    }
    ObjectChange& change = Current(ChangeKind::Geometry);
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
    const bool first = !has_current_;
    ObjectChange& change = Current(ChangeKind::Height);
    if (first) {
        change.height_before = before;
    }
    change.height_after = after;
    holds_heights_ = true;
}

ObjectChange& ClickRecord::Current(ChangeKind kind) {
    if (index_ < 0) {
        throw std::logic_error("a write recorded outside the walk of the selection");
    }
    if (!has_current_) {
        ObjectChange change;
        change.id = std::move(id_);
        change.kind = kind;
        objects_.push_back(std::move(change));
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
