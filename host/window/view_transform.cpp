#include "host/window/view_transform.h"

#include <algorithm>
#include <cmath>

namespace kavrel::host {

ViewTransform::ViewTransform(double scale, double west, double north)
    : scale_(std::clamp(scale, kMinScale, kMaxScale)), west_(west), north_(north) {}

ViewTransform ViewTransform::Fit(const Rect& extent, int width, int height, int margin) {
    const double north_span = std::max(extent.xmax - extent.xmin, 1e-9);
    const double east_span = std::max(extent.ymax - extent.ymin, 1e-9);
    const int room_x = width - 2 * margin;
    const int room_y = height - 2 * margin;
    const double scale =
        room_x > 0 && room_y > 0 ? std::min(room_x / east_span, room_y / north_span) : 1.0;
    const double offset_x = std::max(0.0, (room_x - east_span * scale) / 2);
    const double offset_y = std::max(0.0, (room_y - north_span * scale) / 2);
    ViewTransform view(scale, 0, 0);
    view.west_ = extent.ymin - (margin + offset_x) / view.scale_;
    view.north_ = extent.xmin + (height - margin - offset_y) / view.scale_;
    return view;
}

ScreenPoint ViewTransform::ToScreen(double x, double y) const {
    return ScreenPoint{(y - west_) * scale_, (north_ - x) * scale_};
}

MapPoint ViewTransform::ToMap(double column, double row) const {
    return MapPoint{north_ - row / scale_, west_ + column / scale_};
}

Rect ViewTransform::MapRect(ScreenPoint a, ScreenPoint b) const {
    const MapPoint p = ToMap(a.x, a.y);
    const MapPoint q = ToMap(b.x, b.y);
    return Rect{std::min(p.x, q.x), std::min(p.y, q.y), std::max(p.x, q.x), std::max(p.y, q.y)};
}

void ViewTransform::Pan(double dx, double dy) {
    west_ -= dx / scale_;
    north_ += dy / scale_;
}

void ViewTransform::ZoomAbout(double column, double row, double factor) {
    if (!(factor > 0) || !std::isfinite(factor)) {
        return;
    }
    const MapPoint fixed = ToMap(column, row);
    scale_ = std::clamp(scale_ * factor, kMinScale, kMaxScale);
    west_ = fixed.y - column / scale_;
    north_ = fixed.x + row / scale_;
}

}  // namespace kavrel::host
