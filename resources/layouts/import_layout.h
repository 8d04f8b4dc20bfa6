// The declared layout of the import dialog "Импорт высотных отметок".
#pragma once

#include "ui/form_spec.h"

namespace kavrel {

ui::FormSpec ImportDialogLayout();

}  // namespace kavrel
