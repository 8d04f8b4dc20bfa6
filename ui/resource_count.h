// Live counts of what the forms layer creates, so that tests can prove that
// closing forms leaves nothing behind (GetGuiResources is of no help under Wine).
//
// The counts are also published for tools outside the module that holds the
// forms layer (a test that loads the add-on DLL, a support tool attached to a
// host): a named shared section "Local\kavrel.ui.counts.<process id>.<module
// handle in hexadecimal>" holds four 32-bit values: the size of the record
// (16), the form objects, the form windows and the GDI objects. The section
// exists from the first count until the module is unloaded.
#pragma once

namespace ui {

int LiveFormObjects() noexcept;  // Form objects not yet deleted
int LiveFormWindows() noexcept;  // form windows not yet destroyed
int LiveGdiObjects() noexcept;   // GDI objects held by ui owners (fonts, pens, brushes)

namespace detail {
void CountFormObject(int delta) noexcept;
void CountFormWindow(int delta) noexcept;
void CountGdiObject(int delta) noexcept;
}  // namespace detail

}  // namespace ui
