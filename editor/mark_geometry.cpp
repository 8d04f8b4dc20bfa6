#include "editor/mark_geometry.h"

#include <cmath>

namespace kavrel {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
// A preset baseline is 0.2 long whatever it was.
constexpr double kPresetBaselineLength = 0.2;

}  // namespace

double DegreesToRadians(double degrees) {
    return static_cast<double>(static_cast<long double>(degrees) / 180.0L * kPi);
}

double PointDistance(MapPoint p, MapPoint q) {
    return std::sqrt((p.x - q.x) * (p.x - q.x) + (p.y - q.y) * (p.y - q.y));
}

void RotateAround(double& x, double& y, double cx, double cy, double a) {
    const double dx = x - cx;
    const double dy = y - cy;
    x = cx + (dx * std::cos(a) - dy * std::sin(a));
    y = cy + (dx * std::sin(a) + dy * std::cos(a));
}

Baseline PresetBaseline(MapPoint anchor, MapPoint label_start, double radians) {
    const double distance = PointDistance(anchor, label_start);
    const double s = std::sin(radians);
    const double c = std::cos(radians);
    Baseline result;
    result.start = {anchor.x + distance * s, anchor.y + distance * c};
    result.end = {result.start.x + kPresetBaselineLength * s,
                  result.start.y + kPresetBaselineLength * c};
    return result;
}

std::optional<Projection> ProjectPointOnSegment(MapPoint a, MapPoint b, MapPoint p) {
    const double length = std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y));
    if (length == 0.0 || !std::isfinite(length)) {
        return std::nullopt;
    }
    Projection result;
    result.distance = ((a.y - b.y) * p.x + (b.x - a.x) * p.y + (a.x * b.y - b.x * a.y)) / length;
    result.foot = {p.x + (b.y - a.y) / length * result.distance,
                   p.y + (a.x - b.x) / length * result.distance};
    result.inside = InsideSegmentBox(result.foot, a, b);
    return result;
}

bool InsideSegmentBox(MapPoint f, MapPoint a, MapPoint b) {
    const double ux = b.x - a.x;
    const double uy = b.y - a.y;
    const double squared_length = ux * ux + uy * uy;
    if (squared_length == 0.0) {
        return false;
    }
    const double t = ((f.x - a.x) * ux + (f.y - a.y) * uy) / squared_length;
    return t > 0.0 && t < 1.0;
}

}  // namespace kavrel
