// Placing the labels of marks where they stand clear of each other, of the
// points of marks and of the lines around them. Windows-free: the editor reads
// the map, this decides, the editor writes what moved.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "editor/label_box.h"

namespace kavrel {

// A mark whose label is to be placed.
struct MarkLabel {
    MapPoint anchor;  // the mark's point
    MapPoint start;   // the label's baseline as it stands
    MapPoint end;
    LabelSize size;  // the estimate of its text's box
};

// What the labels must keep clear of, besides each other.
struct LabelObstacles {
    std::vector<LabelBox> labels;              // labels not being placed, as they stand
    std::vector<MapPoint> points;              // points of marks, those being placed included
    std::vector<std::vector<MapPoint>> lines;  // each a chain of vertices
};

struct LabelPlace {
    MapPoint start;
    MapPoint end;
    bool moved = false;  // not where it stood
    bool free = false;   // clear of everything, the labels placed before it included
};

// The eight horizontal places around a point, `gap` from it, in the order
// they are tried: right-above, then clockwise (right, right-below, below,
// left-below, left, left-above, above).
std::array<LabelBox, 8> PlacesAround(MapPoint anchor, const LabelSize& size, double gap);

// One place per mark, in the order of `marks`. A place conflicts with a label
// it overlaps (one not being placed, or one placed before it), a point it
// covers, a line that runs through it, and, for the place a label stands at,
// lying more than two label heights from its point. Marks with the most
// conflicts as everything stands are placed first; the place a label stands at
// is kept when it has no conflict; otherwise the first of the eight places
// without one, or else the place with the least (labels and points weigh
// more than lines).
std::vector<LabelPlace> PlaceLabels(const std::vector<MarkLabel>& marks,
                                    const LabelObstacles& obstacles, double label_height);

}  // namespace kavrel
