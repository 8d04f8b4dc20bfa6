// The declared layout of the editor settings dialog.
#pragma once

#include "ui/form_layout.h"

namespace kavrel {

ui::FormLayout KavrelSetupLayout();

}  // namespace kavrel
