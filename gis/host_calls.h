// Checked calls of the host's automation layer used by the editor. Each call
// passes the host's status through CheckAutomation, so a failure becomes an
// exception carrying the host's own error description at the call site.
#pragma once

#include <string>
#include <string_view>

#include "base/com_ptr.h"
#include "gis/host_api.h"

namespace kavrel::gis {

struct Vertex {
    double x = 0.0;  // northward
    double y = 0.0;  // eastward
    double c = 0.0;  // the host's third per-vertex value
};

// Shown when a vertex read from the host, or computed from one, is no finite
// number: nothing is written then.
inline constexpr char16_t kBadCoordinatesMessage[] = u"Координаты вне допустимого диапазона.";

// A host that answers success without an object is failing all the same:
// raises E_POINTER's error instead of handing on a null reference.
template <typename T>
ComPtr<T> RequireObject(ComPtr<T> object);

// The host application, for every automation call; taken with the command list.
extern ComPtr<IHostApplication> HostApp;

// HostApp; an error when the host has not handed it over.
IHostApplication* RequireApp();

ComPtr<IHostSelection> Selection(IHostApplication* app);
LONG SelectionCount(IHostSelection* selection);
std::u16string SelectedId(IHostSelection* selection, LONG index);

ComPtr<IHostDatabase> Database(IHostApplication* app);
ComPtr<IHostMapObjects> MapObjectsOf(IHostDatabase* database);
ComPtr<IHostMapObject> ObjectById(IHostMapObjects* objects, std::u16string_view id);
void Commit(IHostMapObjects* objects);

ComPtr<IHostShapes> Shapes(IHostMapObject* object);
LONG ShapeCount(IHostShapes* shapes);
ComPtr<IHostShape> ShapeAt(IHostShapes* shapes, LONG index);
ComPtr<IHostShape> AppendShape(IHostShapes* shapes, std::u16string_view style_id);
void ClearShapes(IHostShapes* shapes);

std::u16string StyleId(IHostShape* shape);
bool Flag(IHostShape* shape);
ComPtr<IHostContour> Contour(IHostShape* shape);
ComPtr<IHostContourPart> PartAt(IHostContour* contour, LONG index);
ComPtr<IHostContourPart> AppendPart(IHostContour* contour);
// Vertices are read and written with finite x and y only (else an error).
void RequireFinite(const Vertex& vertex);
Vertex VertexAt(IHostContourPart* part, LONG index);
void SetVertex(IHostContourPart* part, LONG index, const Vertex& vertex);
void AppendVertex(IHostContourPart* part, const Vertex& vertex);

LONG PartCount(IHostContour* contour);
LONG VertexCount(IHostContourPart* part);

ComPtr<IHostStyle> StyleById(IHostDatabase* database, std::u16string_view style_id);
ComPtr<IHostLayer> LayerOf(IHostStyle* style);

// The identifier of the layer that owns a style: GetStyle, GetLayer, GetId.
std::u16string LayerIdOfStyle(IHostDatabase* database, std::u16string_view style_id);
// The objects of a layer that the rectangle meets.
ComPtr<IHostQueryCursor> QueryInRect(IHostMapObjects* objects, std::u16string_view layer_id,
                                     double xmin, double ymin, double xmax, double ymax);
bool CursorAtEnd(IHostQueryCursor* cursor);
// The object identifier of the next row (FetchNext's second text).
std::u16string FetchNextId(IHostQueryCursor* cursor);

// Part 0 of a shape's contour, the only part the editor uses.
ComPtr<IHostContourPart> FirstPart(IHostShape* shape);

std::u16string ExpandTemplate(IHostMapObject* object, std::u16string_view text);
void SetFloatValue(IHostMapObject* object, std::u16string_view table, std::u16string_view field,
                   double value);

ComPtr<IHostPreferences> Preferences(IHostApplication* app);
std::u16string ReadPreference(IHostPreferences* prefs, std::u16string_view key,
                              std::u16string_view default_value);
void WritePreference(IHostPreferences* prefs, std::u16string_view key, std::u16string_view value);

// Repaints the active map window: GetMainWindow, GetMapWindow, Redraw.
void RedrawMap(IHostApplication* app);

[[noreturn]] void ThrowNoObject();

template <typename T>
ComPtr<T> RequireObject(ComPtr<T> object) {
    if (!object) {
        ThrowNoObject();
    }
    return object;
}

}  // namespace kavrel::gis
