#include "editor/label_box.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kavrel {
namespace {

// Parts of the label height: the widths of character classes and the cell.
// The widest common sans faces set digits 0.64 of their height wide (Verdana,
// DejaVu Sans, which stands in for Arial where Arial is missing), Arial 0.56.
constexpr double kDigitWidth = 0.65;
constexpr double kNarrowWidth = 0.4;  // separators, blanks, signs
constexpr double kOtherWidth = 0.8;   // letters and the rest
constexpr double kAscent = 0.95;
constexpr double kDescent = 0.25;

// Closer than this counts as touching.
constexpr double kTolerance = 1e-9;

double CharacterWidth(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return kDigitWidth;
    }
    switch (c) {
        case u',':
        case u'.':
        case u' ':
        case u'-':
        case u'+':
        case u'\u2212':  // minus sign
            return kNarrowWidth;
        default:
            return kOtherWidth;
    }
}

// Coordinates along the baseline and up from it.
struct Local {
    double along;
    double up;
};

Local ToLocal(const LabelBox& box, MapPoint p) {
    const double dx = p.x - box.origin.x;
    const double dy = p.y - box.origin.y;
    return {dx * box.direction.x + dy * box.direction.y,
            dx * box.direction.y - dy * box.direction.x};
}

std::array<MapPoint, 4> Corners(const LabelBox& box) {
    const MapPoint u = box.direction;
    auto corner = [&](double along, double up) {
        return MapPoint{box.origin.x + u.x * along + u.y * up,
                        box.origin.y + u.y * along - u.x * up};
    };
    const LabelSize& s = box.size;
    return {corner(0, -s.descent), corner(s.width, -s.descent), corner(s.width, s.ascent),
            corner(0, s.ascent)};
}

}  // namespace

LabelSize EstimateLabelSize(std::u16string_view text, double label_height) {
    double width = 0.0;
    for (char16_t c : text) {
        width += CharacterWidth(c);
    }
    return {width * label_height, kAscent * label_height, kDescent * label_height};
}

LabelBox LabelBox::OnBaseline(MapPoint start, MapPoint end, const LabelSize& size) {
    LabelBox box;
    box.origin = start;
    box.size = size;
    const double length = PointDistance(start, end);
    if (length > 0.0 && std::isfinite(length)) {
        box.direction = {(end.x - start.x) / length, (end.y - start.y) / length};
    }
    return box;
}

Bounds LabelBox::Extent() const {
    const auto corners = Corners(*this);
    Bounds b{corners[0].x, corners[0].y, corners[0].x, corners[0].y};
    for (const MapPoint& c : corners) {
        b.xmin = std::min(b.xmin, c.x);
        b.ymin = std::min(b.ymin, c.y);
        b.xmax = std::max(b.xmax, c.x);
        b.ymax = std::max(b.ymax, c.y);
    }
    return b;
}

bool LabelBox::Overlaps(const LabelBox& other) const {
    // Separating axes: the boxes are apart when their shadows on one of the
    // four edge directions are.
    const auto mine = Corners(*this);
    const auto theirs = Corners(other);
    const MapPoint axes[4] = {direction,
                              {direction.y, -direction.x},
                              other.direction,
                              {other.direction.y, -other.direction.x}};
    for (const MapPoint& axis : axes) {
        auto shadow = [&](const std::array<MapPoint, 4>& corners) {
            double low = INFINITY;
            double high = -INFINITY;
            for (const MapPoint& c : corners) {
                const double p = c.x * axis.x + c.y * axis.y;
                low = std::min(low, p);
                high = std::max(high, p);
            }
            return std::pair{low, high};
        };
        const auto [a_low, a_high] = shadow(mine);
        const auto [b_low, b_high] = shadow(theirs);
        if (std::min(a_high, b_high) - std::max(a_low, b_low) <= kTolerance) {
            return false;
        }
    }
    return true;
}

bool LabelBox::Holds(MapPoint p) const {
    const Local l = ToLocal(*this, p);
    return l.along > kTolerance && l.along < size.width - kTolerance &&
           l.up > -size.descent + kTolerance && l.up < size.ascent - kTolerance;
}

bool LabelBox::MetBy(MapPoint a, MapPoint b) const {
    // Clips the segment, in the box's own coordinates, to the box's interior.
    const Local la = ToLocal(*this, a);
    const Local lb = ToLocal(*this, b);
    const double d_along = lb.along - la.along;
    const double d_up = lb.up - la.up;
    const double low[2] = {kTolerance, -size.descent + kTolerance};
    const double high[2] = {size.width - kTolerance, size.ascent - kTolerance};
    const double start[2] = {la.along, la.up};
    const double delta[2] = {d_along, d_up};
    double t0 = 0.0;
    double t1 = 1.0;
    for (int axis = 0; axis < 2; ++axis) {
        if (delta[axis] == 0.0) {
            if (start[axis] <= low[axis] || start[axis] >= high[axis]) {
                return false;
            }
            continue;
        }
        double enter = (low[axis] - start[axis]) / delta[axis];
        double leave = (high[axis] - start[axis]) / delta[axis];
        if (enter > leave) {
            std::swap(enter, leave);
        }
        t0 = std::max(t0, enter);
        t1 = std::min(t1, leave);
        if (t0 >= t1) {
            return false;
        }
    }
    return true;
}

double LabelBox::DistanceTo(MapPoint p) const {
    const Local l = ToLocal(*this, p);
    return std::hypot(l.along - std::clamp(l.along, 0.0, size.width),
                      l.up - std::clamp(l.up, -size.descent, size.ascent));
}

}  // namespace kavrel
