// The stand-in host's map model: a project of maps, layers with styles and
// attribute tables, map objects with shapes and attribute values, the
// selection and the preference store. Windows-free.
//
// Edits are pending: the first change to an object keeps a copy of its
// committed state, CommitAll drops those copies (the edits become permanent),
// and a saved project is built from the committed states only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include "host/model/geometry.h"
#include "host/model/spatial_index.h"

namespace kavrel::host {

// Identifiers of maps, layers, styles and objects fit the SDK's 16-byte buffer.
inline constexpr std::size_t kMaxIdLength = 15;

enum class StyleKind { Point, Line, Polygon, Text };

struct Style {
    std::u16string id;
    std::u16string name;
    std::u16string layer;
    StyleKind kind = StyleKind::Point;
    std::u16string text;  // label template of a text style, such as "{A.H}"
};

struct SemTable {
    std::u16string name;
    std::vector<std::u16string> fields;
};

struct Layer {
    std::u16string id;
    std::u16string name;
    std::vector<SemTable> tables;
    std::vector<std::u16string> styles;  // in declaration order
};

struct Map {
    std::u16string id;
    std::u16string name;
    std::vector<std::u16string> layers;
};

// Parts and shapes carry serial numbers so that a host object handed out for
// one of them keeps naming it while others are inserted or removed.
struct ContourPart {
    std::uint64_t serial = 0;
    std::vector<Vertex> vertices;
};

struct Shape {
    std::uint64_t serial = 0;
    std::u16string style;
    bool flag = false;
    std::vector<ContourPart> parts;
};

// An attribute value: a number or a text.
using Value = std::variant<double, std::u16string>;

struct ObjectState {
    std::vector<Shape> shapes;
    std::map<std::u16string, Value> values;  // "table.field" -> value
};

struct MapObject {
    std::size_t number = 0;  // position in the model, stable
    std::u16string id;
    std::u16string layer;
    ObjectState current;
    std::optional<ObjectState> committed;  // set while the object has pending edits

    const ObjectState& CommittedState() const { return committed ? *committed : current; }
    bool HasPendingEdits() const { return committed.has_value(); }
};

class MapModel {
  public:
    MapModel() = default;
    MapModel(const MapModel&) = delete;
    MapModel& operator=(const MapModel&) = delete;
    MapModel(MapModel&&) = default;
    MapModel& operator=(MapModel&&) = default;

    // Building (project loading). Each throws std::invalid_argument on a
    // duplicate identifier; references are checked by the loader.
    void AddMap(Map map);
    void AddLayer(Layer layer);
    void AddStyle(Style style);
    MapObject& AddObject(std::u16string id, std::u16string layer, ObjectState state);

    // Lookups; null when there is no such identifier (compared exactly).
    const Map* FindMap(std::u16string_view id) const;
    const Layer* FindLayer(std::u16string_view id) const;
    const Style* FindStyle(std::u16string_view id) const;
    MapObject* FindObject(std::u16string_view id);
    const MapObject* FindObject(std::u16string_view id) const;

    const std::vector<Map>& maps() const { return maps_; }
    const std::vector<Layer>& layers() const { return layers_; }
    const std::vector<std::unique_ptr<MapObject>>& objects() const { return objects_; }
    std::vector<const Style*> StylesOf(const Layer& layer) const;

    // True when the layer has the table and the table the field.
    bool HasField(const Layer& layer, std::u16string_view table, std::u16string_view field) const;

    // Editing. Edit() marks the object as having pending edits and gives its
    // current state; call Reindex() after a change of its geometry.
    ObjectState& Edit(MapObject& object);
    void Reindex(MapObject& object);
    // Makes every pending edit permanent; answers how many objects had some.
    std::size_t CommitAll();
    std::vector<std::u16string> ObjectsWithPendingEdits() const;

    // Builds the spatial index now (done otherwise by the first query).
    void BuildIndex() const { index_.Build(); }
    // Objects of the layer whose current shapes meet the rectangle, in model order.
    std::vector<const MapObject*> QueryInRect(std::u16string_view layer, const Rect& rect) const;
    bool ShapeMeetsRect(const Shape& shape, const Rect& rect) const;

    std::uint64_t NextSerial() { return ++serial_; }

    std::vector<std::u16string> selection;
    std::map<std::u16string, std::u16string> preferences;

  private:
    std::vector<Map> maps_;
    std::vector<Layer> layers_;
    std::map<std::u16string, Style, std::less<>> styles_;
    std::vector<std::u16string> style_order_;
    std::vector<std::unique_ptr<MapObject>> objects_;
    // Looked up by a view of the identifier: no copy of it per lookup.
    struct IdHash {
        using is_transparent = void;
        std::size_t operator()(std::u16string_view id) const noexcept {
            return std::hash<std::u16string_view>{}(id);
        }
    };
    std::unordered_map<std::u16string, std::size_t, IdHash, std::equal_to<>> object_numbers_;
    // Numbers of the objects with pending edits, in the order they were first
    // edited: a commit touches those only, however large the map.
    std::vector<std::size_t> pending_;
    SpatialIndex index_;
    std::uint64_t serial_ = 0;
};

// The bounding box of an object's shapes; none when it has no vertex.
std::optional<Rect> BoundsOf(const ObjectState& state);

}  // namespace kavrel::host
