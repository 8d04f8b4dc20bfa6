// Live counts of what the forms layer creates, so that tests can prove that
// closing forms leaves nothing behind (GetGuiResources is of no help under Wine).
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
