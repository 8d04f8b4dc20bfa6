// Draws the committed map: points, lines, polygons and each label's text (its
// style's template expanded for its object) along its baseline; selected
// objects in red.
#pragma once

#include <windows.h>

#include <optional>

#include "host/model/legibility.h"
#include "host/model/map_model.h"
#include "host/window/view_transform.h"

namespace kavrel::host {

// Margin, in pixels, around the whole map when it is fitted into a picture.
inline constexpr int kFitMargin = 20;

// The character height labels are drawn with, in map units (the face is Arial).
inline constexpr double kLabelHeight = 0.6;
// A mark's label whose box lies farther than this from the mark's point is
// reported as far from it.
inline constexpr double kFarLabelDistance = 2 * kLabelHeight;

// The whole map fitted into width x height pixels.
void PaintMap(const MapModel& model, char16_t decimal_separator, HDC dc, int width, int height);

// The map as the view's transform places it.
void PaintMapView(const MapModel& model, char16_t decimal_separator, HDC dc, int width, int height,
                  const ViewTransform& transform);

// The extent of a label's text in map units, measured with the font the map is
// painted with, at the label height.
TextExtent MeasureLabelText(std::u16string_view text);

// The legibility of the committed map's labels, with the painter's metrics.
Legibility MeasureMapLegibility(const MapModel& model, char16_t decimal_separator);

// The bounding box of every object's committed shapes but labels (of the
// labels when there is nothing else); none for an empty map.
std::optional<Rect> MapExtent(const MapModel& model);

}  // namespace kavrel::host
