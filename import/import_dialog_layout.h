// The declared layout of the import dialog "Импорт высотных отметок".
#pragma once

#include "ui/form_layout.h"

namespace kavrel {

ui::FormLayout ImportDialogLayout();

}  // namespace kavrel
