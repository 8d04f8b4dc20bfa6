// Raising and lowering the height attribute of the selected objects.
#include <cmath>

#include "addon/errors.h"
#include "editor/decimal_separator.h"
#include "editor/mark_editor.h"
#include "editor/number_text.h"

namespace kavrel {
namespace {

// A field name is read up to this length.
constexpr std::size_t kMaxFieldNameLength = 300;

}  // namespace

void MarkEditor::ShiftHeights(double step) {
    IHostApplication* app = host::RequireApp();
    IHostMapObjects* objects = RequireMapObjects();
    const LONG count = host::SelectionCount(host::Selection(app).get());
    for (LONG i = 0; i < count; ++i) {
        const std::u16string id = host::SelectedId(host::Selection(app).get(), i);
        const ComPtr<IHostMapObject> object = host::ObjectById(objects, id);
        WriteHeight(object.get(), ReadHeight(object.get()) + step);
    }
    host::Commit(objects);
    host::RedrawMap(app);
}

double MarkEditor::ReadHeight(IHostMapObject* object) {
    const std::u16string text = host::ExpandTemplate(object, u"{" + settings.HeightField + u"}");
    const auto value = ParseNumberText(text, LibraryDecimalSeparator());
    if (!value) {
        throw AddonError(u"'" + text + u"' is not a valid floating point value");
    }
    return *value;
}

void MarkEditor::WriteHeight(IHostMapObject* object, double value) {
    if (!std::isfinite(value)) {
        // A sum beyond the range of a double would store an infinite height.
        throw AddonError(u"Высота вне допустимого диапазона.");
    }
    const std::u16string& setting = settings.HeightField;
    const std::size_t point = setting.find(u'.');
    const std::u16string table = point == std::u16string::npos ? u"" : setting.substr(0, point);
    const std::u16string field =
        setting.substr(point == std::u16string::npos ? 0 : point + 1, kMaxFieldNameLength);
    host::SetFloatValue(object, table, field, value);
}

}  // namespace kavrel
