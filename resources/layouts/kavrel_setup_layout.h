// The declared layout of the editor settings dialog.
#pragma once

#include "ui/form_spec.h"

namespace kavrel {

ui::FormSpec KavrelSetupLayout();

}  // namespace kavrel
