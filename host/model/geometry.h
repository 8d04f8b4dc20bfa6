// Plane geometry of the map model: vertices, rectangles and the test whether a
// chain of vertices meets a rectangle. Windows-free.
#pragma once

#include <optional>
#include <vector>

namespace kavrel::host {

// x grows northward, y eastward; c is the model's per-vertex value.
struct Vertex {
    double x = 0;
    double y = 0;
    double c = 0;
    bool operator==(const Vertex&) const = default;
};

// A closed rectangle, min <= max on both axes.
struct Rect {
    double xmin = 0;
    double ymin = 0;
    double xmax = 0;
    double ymax = 0;

    bool Contains(double x, double y) const {
        return x >= xmin && x <= xmax && y >= ymin && y <= ymax;
    }
    bool Overlaps(const Rect& other) const {
        return xmin <= other.xmax && other.xmin <= xmax && ymin <= other.ymax && other.ymin <= ymax;
    }
    void Extend(const Rect& other);
};

// The bounding box of the vertices; none for an empty list.
std::optional<Rect> BoundsOf(const std::vector<Vertex>& vertices);

// True when the segment from a to b has a point inside the rectangle.
bool SegmentMeetsRect(const Vertex& a, const Vertex& b, const Rect& rect);

// True when the chain of vertices (open, or closed back to its first vertex when
// `closed`) meets the rectangle; a closed ring also meets a rectangle lying
// wholly inside it.
bool ChainMeetsRect(const std::vector<Vertex>& vertices, const Rect& rect, bool closed);

// Even-odd test of a point against a closed ring.
bool RingContains(const std::vector<Vertex>& ring, double x, double y);

}  // namespace kavrel::host
