// The declared layout of the mark editor panel.
#pragma once

#include "ui/form_spec.h"

namespace kavrel {

ui::FormSpec KavrelEditorLayout();

}  // namespace kavrel
