// The declared layout of the style picker.
#pragma once

#include "ui/form_layout.h"

namespace kavrel {

ui::FormLayout SelectStyleLayout();

}  // namespace kavrel
