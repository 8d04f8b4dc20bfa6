// Placeholder until the import dialog exists: command 1 opens nothing yet.
#include "addon/import_hook.h"

namespace kavrel {

void OpenImportDialog() {}

}  // namespace kavrel
