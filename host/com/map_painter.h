// Draws the committed map: points, lines, polygons and each label's text (its
// style's template expanded for its object) along its baseline; selected
// objects in red.
#pragma once

#include <windows.h>

#include <optional>

#include "host/model/map_model.h"
#include "host/window/view_transform.h"

namespace kavrel::host {

// Margin, in pixels, around the whole map when it is fitted into a picture.
inline constexpr int kFitMargin = 20;

// The whole map fitted into width x height pixels.
void PaintMap(const MapModel& model, char16_t decimal_separator, HDC dc, int width, int height);

// The map as the view's transform places it.
void PaintMapView(const MapModel& model, char16_t decimal_separator, HDC dc, int width, int height,
                  const ViewTransform& transform);

// The bounding box of every object's committed shapes; none for an empty map.
std::optional<Rect> MapExtent(const MapModel& model);

}  // namespace kavrel::host
