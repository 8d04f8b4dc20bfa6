// The declared layout of the mark editor panel.
#pragma once

#include "ui/form_layout.h"

namespace kavrel {

ui::FormLayout KavrelEditorLayout();

}  // namespace kavrel
