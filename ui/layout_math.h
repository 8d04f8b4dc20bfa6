// Geometry of form layouts: scaling of 96-dpi design values to the screen,
// anchoring on resize and the tab sequence. Windows-free, so that the rules
// are tested natively as well.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// The resolution at which layouts are designed.
inline constexpr int kDesignDpi = 96;

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Which edges of its parent a control keeps its distance to.
enum Anchor : std::uint8_t {
    kAnchorLeft = 1,
    kAnchorTop = 2,
    kAnchorRight = 4,
    kAnchorBottom = 8,
};
using Anchors = std::uint8_t;
inline constexpr Anchors kAnchorsDefault = kAnchorLeft | kAnchorTop;

// value * dpi / 96, rounded half away from zero (as the system's MulDiv does);
// at 96 dpi the value itself.
int ScaleToDpi(int value, int dpi);
Rect ScaleToDpi(const Rect& rect, int dpi);
Size ScaleToDpi(const Size& size, int dpi);

// Where a control laid out at `placed` inside a client area of `designed` size
// goes when that client area becomes `actual`. Right or bottom alone: the
// control moves and keeps its distance to that edge; left and right (top and
// bottom): it stretches and keeps both distances; neither: it keeps its place
// in the middle, moved by half the change. Sizes never go below zero.
Rect AnchoredRect(const Rect& placed, Anchors anchors, Size designed, Size actual);

// A control's position in the tab sequence: -1 when it takes no focus by Tab.
struct TabEntry {
    std::string name;
    int tabOrder = -1;
};

// Names of the controls that take part in the tab sequence, in sequence order.
// Throws std::invalid_argument when two controls claim the same position.
std::vector<std::string> TabSequence(const std::vector<TabEntry>& entries);

// Throws std::invalid_argument naming the first name that is empty, repeated,
// or carries characters other than letters, digits and '_'.
void CheckControlNames(const std::vector<std::string>& names);

}  // namespace ui
