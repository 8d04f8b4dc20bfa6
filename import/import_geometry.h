// The plan geometry of an import, in map coordinates (x northward, y
// eastward): which mark lies within the tolerance of a surveyed point, and
// where a label and a vector go. Windows-free.
#pragma once

#include <optional>

namespace kavrel {

struct PlanPoint {
    double x = 0.0;
    double y = 0.0;
};

// Map units of a length measured in millimetres on a plan at 1:scale.
double MapUnitsOf(double millimetres, double scale);

// What a distance may exceed the tolerance by and still count as within it:
// the rounding of coordinates of that size (a micrometre at 10^6), so that a
// mark 0,05 from a point at 6 000 000 is within 0,05 whatever the binary
// fractions make of the difference.
double ToleranceSlack(PlanPoint point);

// Whether `mark` lies within `tolerance` of `point` (edge included).
bool WithinTolerance(PlanPoint mark, PlanPoint point, double tolerance);
double Distance(PlanPoint a, PlanPoint b);

// A label set at the offsets from its point: vertex 0 `north` and `east` map
// units away, vertex 1 0.2 east of vertex 0 (angle 0, as a rebuilt label).
struct LabelPlace {
    PlanPoint start;
    PlanPoint end;
};
LabelPlace LabelAt(PlanPoint point, double north, double east);

// The end of a vector from `start` `length` long in the direction of `end`;
// nothing when the two coincide (no direction to keep).
std::optional<PlanPoint> VectorEnd(PlanPoint start, PlanPoint end, double length);

}  // namespace kavrel
