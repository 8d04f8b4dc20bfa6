// Window classes of forms, one per form type name, registered for the module
// the forms layer is linked into (kavrel::CodeModule).
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// Registers the class once per type name; later calls for the same name do nothing.
void RegisterFormClass(const std::u16string& typeName, WNDPROC procedure);

// Unregisters every class registered here (when the add-on is unloaded);
// classes that still have windows stay registered.
void UnregisterFormClasses() noexcept;

// The screen's vertical resolution in dots per inch.
int ScreenDpi() noexcept;

// Loads the common controls that forms use (tree view, progress bar, tooltips).
void InitCommonControlsOnce();

}  // namespace ui
