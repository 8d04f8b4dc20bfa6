// The declared layouts of the import dialog "Импорт высотных отметок" and of
// its result window "Результат импорта".
#pragma once

#include "ui/form_layout.h"

namespace kavrel {

ui::FormLayout ImportDialogLayout();
ui::FormLayout ImportResultLayout();

}  // namespace kavrel
