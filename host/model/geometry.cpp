#include "host/model/geometry.h"

#include <algorithm>

namespace kavrel::host {

void Rect::Extend(const Rect& other) {
    xmin = std::min(xmin, other.xmin);
    ymin = std::min(ymin, other.ymin);
    xmax = std::max(xmax, other.xmax);
    ymax = std::max(ymax, other.ymax);
}

std::optional<Rect> BoundsOf(const std::vector<Vertex>& vertices) {
    if (vertices.empty()) {
        return std::nullopt;
    }
    Rect box{vertices[0].x, vertices[0].y, vertices[0].x, vertices[0].y};
    for (const Vertex& v : vertices) {
        box.Extend(Rect{v.x, v.y, v.x, v.y});
    }
    return box;
}

bool SegmentMeetsRect(const Vertex& a, const Vertex& b, const Rect& rect) {
    // Liang-Barsky clipping of the parametric segment a + t (b - a), t in [0, 1].
    double t0 = 0.0;
    double t1 = 1.0;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - rect.xmin, rect.xmax - a.x, a.y - rect.ymin, rect.ymax - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0) {
                return false;  // parallel to this edge and outside it
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    return true;
}

bool RingContains(const std::vector<Vertex>& ring, double x, double y) {
    bool inside = false;
    const std::size_t n = ring.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const Vertex& a = ring[i];
        const Vertex& b = ring[j];
        if ((a.y > y) != (b.y > y)) {
            const double cross_x = a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (x < cross_x) {
                inside = !inside;
            }
        }
    }
    return inside;
}

bool ChainMeetsRect(const std::vector<Vertex>& vertices, const Rect& rect, bool closed) {
    if (vertices.empty()) {
        return false;
    }
    if (vertices.size() == 1) {
        return rect.Contains(vertices[0].x, vertices[0].y);
    }
    for (std::size_t i = 0; i + 1 < vertices.size(); ++i) {
        if (SegmentMeetsRect(vertices[i], vertices[i + 1], rect)) {
            return true;
        }
    }
    if (closed && vertices.size() >= 3) {
        if (SegmentMeetsRect(vertices.back(), vertices.front(), rect)) {
            return true;
        }
        return RingContains(vertices, rect.xmin, rect.ymin);
    }
    return false;
}

}  // namespace kavrel::host
