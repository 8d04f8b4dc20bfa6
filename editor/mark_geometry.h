// Plane geometry of marks in map coordinates: x grows northward, y eastward.
// A label angle is in degrees from east towards north; its unit direction is
// (sin a, cos a) in (x, y). Windows-free.
#pragma once

#include <optional>

namespace kavrel {

struct MapPoint {
    double x = 0.0;
    double y = 0.0;
};

double DegreesToRadians(double degrees);

double PointDistance(MapPoint p, MapPoint q);

// Turns (x, y) about (cx, cy) by a radians; a positive a turns clockwise with
// north up, lowering a label angle by a.
void RotateAround(double& x, double& y, double cx, double cy, double a);

// A preset label baseline: vertex 0 at the label's old distance from the anchor
// in the direction of the angle, vertex 1 a further 0.2 along it.
struct Baseline {
    MapPoint start;
    MapPoint end;
};
Baseline PresetBaseline(MapPoint anchor, MapPoint label_start, double radians);

// The foot of the perpendicular from p on the line through a and b, with the
// signed distance of p from that line. Nothing for a segment of zero length.
struct Projection {
    MapPoint foot;
    double distance = 0.0;  // signed
    bool inside = false;    // the foot lies strictly between a and b
};
std::optional<Projection> ProjectPointOnSegment(MapPoint a, MapPoint b, MapPoint p);

// True when the foot f on the line through a and b lies strictly between them.
// Measured along the segment, so that a segment parallel to an axis can take
// a foot too.
bool InsideSegmentBox(MapPoint f, MapPoint a, MapPoint b);

}  // namespace kavrel
