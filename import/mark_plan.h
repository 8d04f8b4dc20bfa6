// What a row of the catalogue asks of the mark it found, read from the mark
// as it is now: its height and, by the method, its label's baseline or its
// vector's end, with what is there before.
#pragma once

#include <string>

#include "base/com_ptr.h"
#include "gis/host_api.h"
#include "gis/host_calls.h"
#include "import/import_settings.h"
#include "import/survey_rows.h"

namespace kavrel {

// One vertex of part 0 the import writes: its index, its value now and the
// value it gets.
struct VertexWrite {
    LONG index = 0;
    gis::Vertex before;
    gis::Vertex after;
};

// What a row asks of its mark, read from the mark as it is now: the height,
// and by the method the label's baseline or the vector's end.
struct MarkPlan {
    bool height = false;        // the height differs from the row's
    bool height_known = false;  // the field held a number: its value before
    double height_before = 0.0;
    LONG shape_count = 0;
    LONG shape = -1;  // the shape whose vertices are written
    const std::u16string* style = nullptr;
    ComPtr<IHostContourPart> part;
    VertexWrite writes[2];
    int write_count = 0;
    std::u16string partial;  // why the geometry is left as it is

    bool Changes() const { return height || write_count > 0; }
};

// The plan for the mark, its point the shape `point_shape` found by the match
// (or the first of the point style should the object have changed since).
MarkPlan PlanFor(IHostMapObject* object, LONG point_shape, const SurveyRow& row,
                 const ImportSettings& s);

}  // namespace kavrel
