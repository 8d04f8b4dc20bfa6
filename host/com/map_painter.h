// Draws the committed map: points, lines, polygons and each label's text (its
// style's template expanded for its object) along its baseline; selected
// objects in red.
#pragma once

#include <windows.h>

#include "host/model/map_model.h"

namespace kavrel::host {

void PaintMap(const MapModel& model, char16_t decimal_separator, HDC dc, int width, int height);

}  // namespace kavrel::host
