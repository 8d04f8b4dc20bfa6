// What the last click wrote, object by object, so that it can be taken back:
// for each written vertex and height the value before the click and the value
// the click left. The panel's corrections and the import each keep one. Only
// what the click wrote is kept; the values before are the ones the click read
// anyway, so recording costs no host call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gis/host_calls.h"

namespace kavrel {

// The same stored number, to the bit: what a click wrote is what the host
// hands back while nobody changed it (and -0 is not 0).
bool SameBits(double a, double b) noexcept;
bool SameBits(const gis::Vertex& a, const gis::Vertex& b) noexcept;

// A shape of the object in hand as the click found it.
struct WrittenShape {
    LONG index;                   // among the object's shapes
    LONG count;                   // the object's shape count
    const std::u16string& style;  // its style identifier
};

// One vertex of part 0 of a shape, before and after the click.
struct VertexChange {
    LONG shape;
    LONG vertex;
    std::uint32_t style;  // index into the record's styles
    gis::Vertex before;
    gis::Vertex after;
};

// Plain data: a record of 100,000 objects is a few large blocks, not a heap
// block per object, which would slow every later allocation of the process.
struct ObjectChange {
    std::size_t id_start = 0;  // its identifier in the record's identifier text
    std::size_t id_length = 0;
    // Shapes replaced: a mark built anew, not restorable.
    bool rebuilt = false;
    LONG shape_count = 0;          // vertices: the object's shapes as the click left them
    std::size_t first_vertex = 0;  // vertices: its changes in the record's vertex list
    std::size_t vertex_count = 0;
    // The height field written, besides or instead of vertices.
    bool height = false;
    double height_before = 0.0;
    double height_after = 0.0;
    // An undo began writing it back: a vertex may already hold its value before.
    bool restoring = false;
};

// How an undo went, counted over all its runs (a failing run and the one that
// finishes it).
struct UndoCounts {
    std::size_t restored = 0;
    std::size_t changed = 0;  // changed since the click: left alone
    std::size_t rebuilt = 0;  // rebuilt by the click: left alone
};

class ClickRecord {
  public:
    // A new click: the record of the last one is dropped.
    void Restart();

    // The click's walk over a selection of `count` objects begins.
    void Expect(std::size_t count);
    // The click's walk reached this object, the `position`-th of its walk
    // (the panel: its place in the selection).
    void Enter(LONG position, std::u16string id);
    // The object in hand had its shapes replaced; later writes to it are not
    // kept, it will be left alone.
    void Rebuilt();
    // The host took a vertex or a height of the object in hand.
    void Wrote(const WrittenShape& shape, LONG vertex, const gis::Vertex& before,
               const gis::Vertex& after);
    void WroteHeight(double before, double after);
    // The height setting (table, a point, field) a height click wrote through.
    void UseHeightField(const std::u16string& field) { height_field_ = field; }
    const std::u16string& HeightField() const noexcept { return height_field_; }

    // Objects not yet undone.
    bool HasPending() const noexcept { return next_ < objects_.size(); }
    const ObjectChange& Pending() const { return objects_.at(next_); }
    // The undo writes the first pending object back.
    void Restoring() { objects_.at(next_).restoring = true; }
    // The first pending object is done with, in the way counted.
    void Done(std::size_t UndoCounts::*outcome);
    const UndoCounts& Counts() const noexcept { return counts_; }
    bool HoldsHeights() const noexcept { return holds_heights_; }
    // The click redrew the map; its undo redraws it too.
    void Redrew() noexcept { redrew_ = true; }
    bool RedrewMap() const noexcept { return redrew_ || holds_heights_; }

    std::u16string_view Id(const ObjectChange& change) const {
        return std::u16string_view(ids_).substr(change.id_start, change.id_length);
    }
    const VertexChange& VertexAt(std::size_t index) const { return vertices_.at(index); }
    const std::u16string& Style(std::uint32_t index) const { return styles_.at(index); }

  private:
    ObjectChange& Current();
    bool RebuiltByThisClick() const noexcept;
    std::uint32_t StyleIndex(const std::u16string& style);

    std::vector<ObjectChange> objects_;
    std::vector<VertexChange> vertices_;
    std::u16string ids_;  // the objects' identifiers one after the other
    std::vector<std::u16string> styles_;
    std::u16string height_field_;
    // Places in the walk rebuilt by this click's preparation.
    std::vector<bool> rebuilt_;
    // The object in hand: its place in the walk and identifier, and its entry
    // once something of it was written.
    LONG index_ = -1;
    std::u16string id_;
    std::size_t current_ = 0;
    bool has_current_ = false;
    std::size_t next_ = 0;
    UndoCounts counts_;
    bool holds_heights_ = false;
    bool redrew_ = false;
};

}  // namespace kavrel
