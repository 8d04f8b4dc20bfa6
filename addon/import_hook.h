// The import command's entry into the import dialog.
#pragma once

namespace kavrel {

// Opens a new import dialog owned by the host's main window; every call opens
// a further one.
void OpenImportDialog();

}  // namespace kavrel
