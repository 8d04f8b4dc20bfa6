// Raising and lowering the height attribute of the selected objects.
#include "base/decimal_separator.h"
#include "base/decimal_sum.h"
#include "base/errors.h"
#include "base/number_text.h"
#include "editor/mark_editor.h"
#include "undo/height_field.h"

namespace kavrel {

void MarkEditor::ShiftHeights(double step) {
    IHostApplication* app = gis::RequireApp();
    IHostMapObjects* objects = RequireMapObjects();
    record_.Restart();
    record_.UseHeightField(settings.HeightField);
    VisitSelection(app, objects, [&](IHostMapObject* object) {
        const double before = ReadHeight(object);
        // Rounded to the decimals of the height and the step: the labels
        // show the stored number as it is.
        const double after = SumAtOperandDecimals(before, step);
        WriteHeight(object, after);
        record_.WroteHeight(before, after);
    });
    gis::Commit(objects);
    gis::RedrawMap(app);
}

double MarkEditor::ReadHeight(IHostMapObject* object) {
    const std::u16string text = HeightFieldText(object, settings.HeightField);
    const auto value = ParseNumberText(text, LibraryDecimalSeparator());
    if (!value) {
        throw AddonError(u"'" + text + u"' is not a valid floating point value");
    }
    return *value;
}

void MarkEditor::WriteHeight(IHostMapObject* object, double value) {
    WriteHeightField(object, settings.HeightField, value);
}

}  // namespace kavrel
