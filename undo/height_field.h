// The height of a mark: the object's attribute field named by a setting of
// the form table, a point, field. Read as the text the host expands for it,
// written as a 64-bit float.
#pragma once

#include <string>
#include <string_view>

#include "gis/host_api.h"

namespace kavrel {

// The field's value as the host writes it: ExpandTemplate of "{setting}".
std::u16string HeightFieldText(IHostMapObject* object, std::u16string_view setting);

// SetValue of the table and field the setting names (split at its first
// point; without one the table is empty). A value that is no finite number is
// refused before the host is called.
void WriteHeightField(IHostMapObject* object, std::u16string_view setting, double value);

}  // namespace kavrel
