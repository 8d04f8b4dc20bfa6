#include "import/import_geometry.h"

#include <algorithm>
#include <cmath>

namespace kavrel {
namespace {

// The baseline of a label put at angle 0.
constexpr double kLabelBaseline = 0.2;
// Relative rounding allowed on coordinates: about 4500 ulps of a double.
constexpr double kRelativeSlack = 1e-12;

}  // namespace

double MapUnitsOf(double millimetres, double scale) {
    return millimetres * scale / 1000.0;
}

double ToleranceSlack(PlanPoint point) {
    return kRelativeSlack * std::max({1.0, std::fabs(point.x), std::fabs(point.y)});
}

double Distance(PlanPoint a, PlanPoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

bool WithinTolerance(PlanPoint mark, PlanPoint point, double tolerance) {
    return Distance(mark, point) <= tolerance + ToleranceSlack(point);
}

LabelPlace LabelAt(PlanPoint point, double north, double east) {
    const PlanPoint start{point.x + north, point.y + east};
    return {start, {start.x, start.y + kLabelBaseline}};
}

std::optional<PlanPoint> VectorEnd(PlanPoint start, PlanPoint end, double length) {
    const double now = Distance(start, end);
    if (now == 0.0) {
        return std::nullopt;
    }
    return PlanPoint{start.x + (end.x - start.x) / now * length,
                     start.y + (end.y - start.y) / now * length};
}

}  // namespace kavrel
