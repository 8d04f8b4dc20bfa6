// What exists while the library is loaded, created and torn down in order.
#pragma once

namespace kavrel {

// The COM server object, then the add-on list, then the one add-on object.
// False when any of them cannot be made (the load then fails).
bool LibraryLoad() noexcept;

// Unload while the process goes on: the add-on object (editor panel closed,
// bitmaps deleted, forms destroyed), then HostApp, the add-on list, the
// factories, and last the host's error channel.
void LibraryUnload() noexcept;

// Process exit: lets every reference go without calling anything.
void LibraryAbandon() noexcept;

}  // namespace kavrel
