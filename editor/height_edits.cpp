// Raising and lowering the height attribute of the selected objects.
#include <cmath>

#include "base/decimal_separator.h"
#include "base/decimal_sum.h"
#include "base/errors.h"
#include "base/number_text.h"
#include "editor/mark_editor.h"

namespace kavrel {
namespace {

// A field name is read up to this length.
constexpr std::size_t kMaxFieldNameLength = 300;

}  // namespace

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
    const std::u16string text = HeightText(object, settings.HeightField);
    const auto value = ParseNumberText(text, LibraryDecimalSeparator());
    if (!value) {
        throw AddonError(u"'" + text + u"' is not a valid floating point value");
    }
    return *value;
}

void MarkEditor::WriteHeight(IHostMapObject* object, double value) {
    WriteHeightField(object, settings.HeightField, value);
}

std::u16string MarkEditor::HeightText(IHostMapObject* object, const std::u16string& field) {
    return gis::ExpandTemplate(object, u"{" + field + u"}");
}

void MarkEditor::WriteHeightField(IHostMapObject* object, const std::u16string& setting,
                                  double value) {
    if (!std::isfinite(value)) {
        // A sum beyond the range of a double would store an infinite height.
        throw AddonError(u"Высота вне допустимого диапазона.");
    }
    const std::size_t point = setting.find(u'.');
    const std::u16string table = point == std::u16string::npos ? u"" : setting.substr(0, point);
    const std::u16string field =
        setting.substr(point == std::u16string::npos ? 0 : point + 1, kMaxFieldNameLength);
    gis::SetFloatValue(object, table, field, value);
}

}  // namespace kavrel
