#include "editor/mark_shapes.h"

#include "gis/host_calls.h"

namespace kavrel {

MarkShapes FindMarkShapes(IHostMapObject* object,
                          std::initializer_list<const std::u16string*> anchor_styles,
                          std::initializer_list<const std::u16string*> label_styles) {
    MarkShapes found;
    found.count = gis::ShapeCount(gis::Shapes(object).get());
    for (LONG j = 0; j < found.count; ++j) {
        ComPtr<IHostShape> shape = gis::ShapeAt(gis::Shapes(object).get(), j);
        const std::u16string style = gis::StyleId(shape.get());
        for (const std::u16string* wanted : anchor_styles) {
            if (!wanted->empty() && style == *wanted) {
                found.anchor = shape;
                break;
            }
        }
        for (const std::u16string* wanted : label_styles) {
            if (!wanted->empty() && style == *wanted) {
                found.label = shape;
                found.label_index = j;
                found.label_style = wanted;
                break;
            }
        }
    }
    return found;
}

}  // namespace kavrel
