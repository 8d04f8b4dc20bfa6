// The text a label shape shows: its style's template expanded for its object,
// as the map window paints it. Windows-free.
#pragma once

#include <string>

#include "host/model/map_model.h"

namespace kavrel::host {

// The committed values of the object fill the template; numbers are written
// with the separator given. A template naming a field the layer lacks is shown
// as written, as a host shows a broken template.
std::u16string LabelText(const MapModel& model, const MapObject& object, const Style& style,
                         char16_t decimal_separator);

}  // namespace kavrel::host
