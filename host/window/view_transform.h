// How the map window maps map coordinates to pixels and back: one scale for
// both axes, x (north) up the screen, y (east) to the right. Panning moves the
// origin; zooming about a pixel keeps the map point under it. Windows-free.
#pragma once

#include "host/model/geometry.h"

namespace kavrel::host {

struct ScreenPoint {
    double x = 0;  // pixel column
    double y = 0;  // pixel row
};

struct MapPoint {
    double x = 0;  // north
    double y = 0;  // east
};

class ViewTransform {
  public:
    // Pixels per map unit are kept within these bounds.
    static constexpr double kMinScale = 1e-6;
    static constexpr double kMaxScale = 1e6;

    ViewTransform() = default;
    ViewTransform(double scale, double west, double north);

    // The extent as large as the width x height pixels allow within the
    // margin, centred.
    static ViewTransform Fit(const Rect& extent, int width, int height, int margin);

    ScreenPoint ToScreen(double x, double y) const;
    MapPoint ToMap(double column, double row) const;
    // The map rectangle between two pixels, in either order.
    Rect MapRect(ScreenPoint a, ScreenPoint b) const;

    // The picture follows the mouse by (dx, dy) pixels.
    void Pan(double dx, double dy);
    // Multiplies the scale by factor (clamped), keeping the map point under
    // the pixel where it is.
    void ZoomAbout(double column, double row, double factor);

    double scale() const { return scale_; }
    double west() const { return west_; }
    double north() const { return north_; }

  private:
    double scale_ = 1;  // pixels per map unit
    double west_ = 0;   // map y at pixel column 0
    double north_ = 0;  // map x at pixel row 0
};

}  // namespace kavrel::host
