#include "gis/host_calls.h"

#include <cmath>

#include "base/bstr.h"
#include "base/errors.h"
#include "base/variant.h"

namespace kavrel::gis {

ComPtr<IHostApplication> HostApp;

void ThrowNoObject() {
    throw EHostCallError(SystemErrorText(E_POINTER), E_POINTER);
}

// A coordinate that is no finite number, whether the host handed it over or a
// correction computed it, must never reach the map.
void RequireFinite(const Vertex& vertex) {
    if (!std::isfinite(vertex.x) || !std::isfinite(vertex.y)) {
        throw AddonError(kBadCoordinatesMessage);
    }
}

IHostApplication* RequireApp() {
    if (!HostApp) {
        throw AddonError(u"Нет связи с ГИС: расширение не подключено.");
    }
    return HostApp.get();
}

ComPtr<IHostSelection> Selection(IHostApplication* app) {
    ComPtr<IHostSelection> result;
    CheckAutomation(app->GetSelection(result.put()));
    return RequireObject(std::move(result));
}

LONG SelectionCount(IHostSelection* selection) {
    LONG count = 0;
    CheckAutomation(selection->GetCount(&count));
    return count;
}

std::u16string SelectedId(IHostSelection* selection, LONG index) {
    Bstr id;
    CheckAutomation(selection->GetItemId(index, id.put()));
    return id.str();
}

ComPtr<IHostDatabase> Database(IHostApplication* app) {
    ComPtr<IHostDatabase> result;
    CheckAutomation(app->GetDatabase(result.put()));
    return RequireObject(std::move(result));
}

ComPtr<IHostMapObjects> MapObjectsOf(IHostDatabase* database) {
    ComPtr<IHostMapObjects> result;
    CheckAutomation(database->GetMapObjects(result.put()));
    return RequireObject(std::move(result));
}

ComPtr<IHostMapObject> ObjectById(IHostMapObjects* objects, std::u16string_view id) {
    ComPtr<IHostMapObject> result;
    Bstr text(id);
    CheckAutomation(objects->GetObject(text.get(), result.put()));
    return RequireObject(std::move(result));
}

void Commit(IHostMapObjects* objects) {
    CheckAutomation(objects->CommitChanges());
}

ComPtr<IHostShapes> Shapes(IHostMapObject* object) {
    ComPtr<IHostShapes> result;
    CheckAutomation(object->GetShapes(result.put()));
    return RequireObject(std::move(result));
}

LONG ShapeCount(IHostShapes* shapes) {
    LONG count = 0;
    CheckAutomation(shapes->GetCount(&count));
    return count;
}

ComPtr<IHostShape> ShapeAt(IHostShapes* shapes, LONG index) {
    ComPtr<IHostShape> result;
    CheckAutomation(shapes->GetItem(index, result.put()));
    return RequireObject(std::move(result));
}

ComPtr<IHostShape> AppendShape(IHostShapes* shapes, std::u16string_view style_id) {
    ComPtr<IHostShape> result;
    Bstr style(style_id);
    CheckAutomation(shapes->Insert(-1, style.get(), result.put()));
    return RequireObject(std::move(result));
}

void ClearShapes(IHostShapes* shapes) {
    CheckAutomation(shapes->Clear());
}

std::u16string StyleId(IHostShape* shape) {
    Bstr id;
    CheckAutomation(shape->GetStyleId(id.put()));
    return id.str();
}

bool Flag(IHostShape* shape) {
    VARIANT_BOOL flag = VARIANT_FALSE;
    CheckAutomation(shape->GetFlag(&flag));
    return flag != VARIANT_FALSE;
}

ComPtr<IHostContour> Contour(IHostShape* shape) {
    ComPtr<IHostContour> result;
    CheckAutomation(shape->GetContour(result.put()));
    return RequireObject(std::move(result));
}

ComPtr<IHostContourPart> PartAt(IHostContour* contour, LONG index) {
    ComPtr<IHostContourPart> result;
    CheckAutomation(contour->GetPart(index, result.put()));
    return RequireObject(std::move(result));
}

ComPtr<IHostContourPart> AppendPart(IHostContour* contour) {
    ComPtr<IHostContourPart> result;
    CheckAutomation(contour->InsertPart(-1, result.put()));
    return RequireObject(std::move(result));
}

Vertex VertexAt(IHostContourPart* part, LONG index) {
    Vertex v;
    CheckAutomation(part->GetVertex(index, &v.x, &v.y, &v.c));
    RequireFinite(v);
    return v;
}

void SetVertex(IHostContourPart* part, LONG index, const Vertex& vertex) {
    RequireFinite(vertex);
    CheckAutomation(part->SetVertex(index, vertex.x, vertex.y, vertex.c));
}

void AppendVertex(IHostContourPart* part, const Vertex& vertex) {
    RequireFinite(vertex);
    CheckAutomation(part->InsertVertex(-1, vertex.x, vertex.y, vertex.c));
}

LONG PartCount(IHostContour* contour) {
    LONG count = 0;
    CheckAutomation(contour->GetCount(&count));
    return count;
}

LONG VertexCount(IHostContourPart* part) {
    LONG count = 0;
    CheckAutomation(part->GetCount(&count));
    return count;
}

ComPtr<IHostStyle> StyleById(IHostDatabase* database, std::u16string_view style_id) {
    const Bstr id(style_id);
    ComPtr<IHostStyle> style;
    CheckAutomation(database->GetStyle(id.get(), style.put()));
    return RequireObject(std::move(style));
}

ComPtr<IHostLayer> LayerOf(IHostStyle* style) {
    ComPtr<IHostLayer> layer;
    CheckAutomation(style->GetLayer(layer.put()));
    return RequireObject(std::move(layer));
}

std::u16string LayerIdOfStyle(IHostDatabase* database, std::u16string_view style_id) {
    const ComPtr<IHostLayer> layer = LayerOf(StyleById(database, style_id).get());
    Bstr id;
    CheckAutomation(layer->GetId(id.put()));
    return id.str();
}

ComPtr<IHostQueryCursor> QueryInRect(IHostMapObjects* objects, std::u16string_view layer_id,
                                     double xmin, double ymin, double xmax, double ymax) {
    const Variant layer = Variant::Text(layer_id);
    ComPtr<IHostQueryCursor> cursor;
    CheckAutomation(objects->QueryInRect(layer.get(), xmin, ymin, xmax, ymax, 0, cursor.put()));
    return RequireObject(std::move(cursor));
}

bool CursorAtEnd(IHostQueryCursor* cursor) {
    VARIANT_BOOL eof = VARIANT_TRUE;
    CheckAutomation(cursor->Eof(&eof));
    return eof != VARIANT_FALSE;
}

std::u16string FetchNextId(IHostQueryCursor* cursor) {
    Bstr first;
    Bstr id;
    LONG value = 0;
    CheckAutomation(cursor->FetchNext(first.put(), id.put(), &value));
    return id.str();
}

ComPtr<IHostContourPart> FirstPart(IHostShape* shape) {
    const ComPtr<IHostContour> contour = Contour(shape);
    return PartAt(contour.get(), 0);
}

std::u16string ExpandTemplate(IHostMapObject* object, std::u16string_view text) {
    Bstr source(text);
    Bstr result;
    CheckAutomation(object->ExpandTemplate(source.get(), result.put()));
    return result.str();
}

void SetFloatValue(IHostMapObject* object, std::u16string_view table, std::u16string_view field,
                   double value) {
    ComPtr<IHostSemantics> semantics;
    CheckAutomation(object->GetSemantics(semantics.put()));
    semantics = RequireObject(std::move(semantics));
    Bstr table_text(table);
    Bstr field_text(field);
    const Variant number = Variant::Double(value);
    CheckAutomation(semantics->SetValue(table_text.get(), field_text.get(), number.get(), 0));
}

ComPtr<IHostPreferences> Preferences(IHostApplication* app) {
    ComPtr<IHostPreferences> result;
    CheckAutomation(app->GetPreferences(result.put()));
    return RequireObject(std::move(result));
}

std::u16string ReadPreference(IHostPreferences* prefs, std::u16string_view key,
                              std::u16string_view default_value) {
    Bstr key_text(key);
    Bstr default_text(default_value);
    Bstr value;
    CheckAutomation(prefs->ReadString(0, 0, key_text.get(), default_text.get(), value.put()));
    return value.str();
}

void WritePreference(IHostPreferences* prefs, std::u16string_view key, std::u16string_view value) {
    Bstr key_text(key);
    Bstr value_text(value);
    CheckAutomation(prefs->WriteString(0, 0, key_text.get(), value_text.get()));
}

void RedrawMap(IHostApplication* app) {
    ComPtr<IHostMainWindow> frame;
    CheckAutomation(app->GetMainWindow(frame.put()));
    frame = RequireObject(std::move(frame));
    ComPtr<IHostMapWindow> map;
    CheckAutomation(frame->GetMapWindow(map.put()));
    map = RequireObject(std::move(map));
    CheckAutomation(map->Redraw());
}

}  // namespace kavrel::gis
