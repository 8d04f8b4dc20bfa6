// What an import is asked to do: the method, the styles and fields of the
// marks, the columns of the text and the distances, in map units.
#pragma once

#include <string>

#include "import/survey_rows.h"

namespace kavrel {

// The import methods, in the order of the method list.
enum class ImportMethod { Points = 0, PointsAndLabels = 1, Vector = 2 };

struct ImportSettings {
    ImportMethod method = ImportMethod::Points;
    std::u16string point_style;
    std::u16string label_style;   // "Точки и подпись текста"
    std::u16string number_field;  // table.field; empty: numbers are not compared
    std::u16string height_field;  // table.field
    SurveyColumns columns;
    bool first_is_header = false;
    double tolerance = 0.0;      // map units
    double label_north = 0.0;    // map units
    double label_east = 0.0;     // map units
    double vector_length = 0.0;  // map units
};

}  // namespace kavrel
