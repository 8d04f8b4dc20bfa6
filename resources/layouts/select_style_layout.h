// The declared layout of the style picker.
#pragma once

#include "ui/form_spec.h"

namespace kavrel {

ui::FormSpec SelectStyleLayout();

}  // namespace kavrel
