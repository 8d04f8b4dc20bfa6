// The shapes of a mark that the label corrections work on, found by style.
#pragma once

#include <initializer_list>
#include <string>

#include "base/com_ptr.h"
#include "undo/click_record.h"
#include "gis/host_api.h"

namespace kavrel {

struct MarkShapes {
    ComPtr<IHostShape> anchor;
    ComPtr<IHostShape> label;
    LONG label_index = -1;
    const std::u16string* label_style = nullptr;
    LONG count = 0;

    WrittenShape Label() const { return {label_index, count, *label_style}; }
};

// The last shape whose style is one of anchor_styles is the anchor, the last
// whose style is one of label_styles the label. An empty style matches nothing
// that a well-formed mark carries, so it is left out of the comparison.
MarkShapes FindMarkShapes(IHostMapObject* object,
                          std::initializer_list<const std::u16string*> anchor_styles,
                          std::initializer_list<const std::u16string*> label_styles);

}  // namespace kavrel
