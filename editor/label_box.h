// The box a mark's label takes on the map, as the editor estimates it: the add-on
// cannot measure the host's text, so the size comes from the characters and the
// label height setting. Plane geometry of such boxes in map coordinates (x
// northward, y eastward). Windows-free.
#pragma once

#include <string_view>

#include "editor/mark_geometry.h"

namespace kavrel {

// A text's advance width and how far its cell reaches above and below the
// baseline, in map units.
struct LabelSize {
    double width = 0.0;
    double ascent = 0.0;
    double descent = 0.0;

    double Height() const { return ascent + descent; }
};

// An estimate a little larger than common faces draw at that character height
// (digits 0.55 to 0.64 of it wide, the cell about 1.15 of it high), so that
// labels placed clear by the estimate are clear on the map.
LabelSize EstimateLabelSize(std::u16string_view text, double label_height);

struct Bounds {
    double xmin = 0.0;
    double ymin = 0.0;
    double xmax = 0.0;
    double ymax = 0.0;

    bool Overlaps(const Bounds& other) const {
        return xmin <= other.xmax && other.xmin <= xmax && ymin <= other.ymax && other.ymin <= ymax;
    }
};

// A label's box: drawn from its baseline's start along the unit direction
// (sin a, cos a) of its angle; the text's "up" is that direction turned a
// quarter to the left.
struct LabelBox {
    MapPoint origin;
    MapPoint direction{0.0, 1.0};  // east
    LabelSize size;

    // The box of a label whose baseline runs from start towards end (east when
    // the two coincide).
    static LabelBox OnBaseline(MapPoint start, MapPoint end, const LabelSize& size);

    Bounds Extent() const;
    // Interiors only: boxes, points and segments that merely touch are clear.
    bool Overlaps(const LabelBox& other) const;
    bool Holds(MapPoint p) const;
    bool MetBy(MapPoint a, MapPoint b) const;
    // From p to the nearest point of the box; 0 inside it.
    double DistanceTo(MapPoint p) const;
};

}  // namespace kavrel
