#include "ui/layout_math.h"

#include <algorithm>
#include <cstdint>
#include <set>
#include <stdexcept>

namespace ui {

int ScaleToDpi(int value, int dpi) {
    if (dpi == kDesignDpi) {
        return value;
    }
    const std::int64_t product = static_cast<std::int64_t>(value) * dpi;
    const std::int64_t half = kDesignDpi / 2;
    const std::int64_t rounded =
        product >= 0 ? (product + half) / kDesignDpi : -((-product + half) / kDesignDpi);
    return static_cast<int>(rounded);
}

Rect ScaleToDpi(const Rect& rect, int dpi) {
    // Edges are scaled, not sizes, so that controls that touch at 96 dpi
    // still touch at any resolution.
    const int left = ScaleToDpi(rect.left, dpi);
    const int top = ScaleToDpi(rect.top, dpi);
    return {left, top, ScaleToDpi(rect.right(), dpi) - left, ScaleToDpi(rect.bottom(), dpi) - top};
}

Size ScaleToDpi(const Size& size, int dpi) {
    return {ScaleToDpi(size.width, dpi), ScaleToDpi(size.height, dpi)};
}

namespace {

struct Span {
    int start;
    int length;
};

Span AnchorSpan(int start, int length, bool nearEdge, bool farEdge, int designed, int actual) {
    const int change = actual - designed;
    if (nearEdge && farEdge) {
        return {start, std::max(0, length + change)};
    }
    if (farEdge) {
        return {start + change, length};
    }
    if (nearEdge) {
        return {start, length};
    }
    return {start + change / 2, length};
}

}  // namespace

Rect AnchoredRect(const Rect& placed, Anchors anchors, Size designed, Size actual) {
    const Span x = AnchorSpan(placed.left, placed.width, anchors & kAnchorLeft,
                              anchors & kAnchorRight, designed.width, actual.width);
    const Span y = AnchorSpan(placed.top, placed.height, anchors & kAnchorTop,
                              anchors & kAnchorBottom, designed.height, actual.height);
    return {x.start, y.start, x.length, y.length};
}

std::vector<std::string> TabSequence(const std::vector<TabEntry>& entries) {
    std::vector<const TabEntry*> stops;
    for (const TabEntry& entry : entries) {
        if (entry.tabOrder >= 0) {
            stops.push_back(&entry);
        }
    }
    std::stable_sort(stops.begin(), stops.end(), [](const TabEntry* a, const TabEntry* b) {
        return a->tabOrder < b->tabOrder;
    });
    std::vector<std::string> names;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        if (i > 0 && stops[i]->tabOrder == stops[i - 1]->tabOrder) {
            throw std::invalid_argument("tab position " + std::to_string(stops[i]->tabOrder) +
                                        " is taken by both " + stops[i - 1]->name + " and " +
                                        stops[i]->name);
        }
        names.push_back(stops[i]->name);
    }
    return names;
}

void CheckControlNames(const std::vector<std::string>& names) {
    std::set<std::string> seen;
    for (const std::string& name : names) {
        const bool wellFormed = !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                   c == '_';
        });
        if (!wellFormed) {
            throw std::invalid_argument("control name '" + name + "' is not an identifier");
        }
        if (!seen.insert(name).second) {
            throw std::invalid_argument("control name '" + name + "' is used twice");
        }
    }
}

}  // namespace ui
