#include "ui/resource_count.h"

namespace ui {

// Forms live on the user-interface thread only, so plain counters suffice.
namespace {
int formObjects = 0;
int formWindows = 0;
int gdiObjects = 0;
}  // namespace

int LiveFormObjects() noexcept {
    return formObjects;
}
int LiveFormWindows() noexcept {
    return formWindows;
}
int LiveGdiObjects() noexcept {
    return gdiObjects;
}

namespace detail {
void CountFormObject(int delta) noexcept {
    formObjects += delta;
}
void CountFormWindow(int delta) noexcept {
    formWindows += delta;
}
void CountGdiObject(int delta) noexcept {
    gdiObjects += delta;
}
}  // namespace detail

}  // namespace ui
