#include "host/model/project_file.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "base/short_string.h"
#include "base/utf8.h"

namespace kavrel::host {
namespace {

using nlohmann::json;
using nlohmann::ordered_json;

[[noreturn]] void Refuse(const std::string& place, const std::string& problem) {
    throw ProjectError("Проект не загружен: " + place + ": " + problem);
}

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

const json& Member(const json& object, const char* name, const std::string& place,
                   json::value_t type, bool required) {
    static const json kNull;
    auto it = object.find(name);
    if (it == object.end() || it->is_null()) {
        if (required) {
            Refuse(place, std::string("нет поля \"") + name + "\"");
        }
        return kNull;
    }
    const bool ok = type == json::value_t::number_float ? it->is_number() : it->type() == type;
    if (!ok) {
        static const char* const kTypeNames[] = {"null",  "объект",     "массив",
                                                 "текст", "логическое", "число",
                                                 "число", "число",      "двоичное"};
        const char* expected = "?";
        switch (type) {
            case json::value_t::object:
                expected = kTypeNames[1];
                break;
            case json::value_t::array:
                expected = kTypeNames[2];
                break;
            case json::value_t::string:
                expected = kTypeNames[3];
                break;
            case json::value_t::boolean:
                expected = kTypeNames[4];
                break;
            default:
                expected = kTypeNames[5];
                break;
        }
        Refuse(place, std::string("поле \"") + name + "\" должно быть: " + expected);
    }
    return *it;
}

std::u16string Text(const json& value) {
    return Utf8ToWide(value.get_ref<const std::string&>());
}

// An identifier: a non-empty text of at most 15 characters, all in code page 1251.
std::u16string Identifier(const json& object, const char* name, const std::string& place) {
    const json& value = Member(object, name, place, json::value_t::string, true);
    std::u16string id = Text(value);
    if (id.empty()) {
        Refuse(place, std::string("пустой идентификатор в поле \"") + name + "\"");
    }
    if (id.size() > kMaxIdLength) {
        Refuse(place, "идентификатор " + Quoted(value.get<std::string>()) + " длиннее 15 символов");
    }
    if (!FitsCp1251(id)) {
        Refuse(place, "идентификатор " + Quoted(value.get<std::string>()) +
                          " содержит символы вне кодовой страницы 1251");
    }
    return id;
}

StyleKind ParseKind(const std::string& kind, const std::string& place) {
    if (kind == "point")
        return StyleKind::Point;
    if (kind == "line")
        return StyleKind::Line;
    if (kind == "polygon")
        return StyleKind::Polygon;
    if (kind == "text")
        return StyleKind::Text;
    Refuse(place,
           "неизвестный вид стиля " + Quoted(kind) + " (допустимы point, line, polygon, text)");
}

const char* KindName(StyleKind kind) {
    switch (kind) {
        case StyleKind::Point:
            return "point";
        case StyleKind::Line:
            return "line";
        case StyleKind::Polygon:
            return "polygon";
        case StyleKind::Text:
            return "text";
    }
    return "point";
}

double Coordinate(const json& value, const std::string& place) {
    if (!value.is_number()) {
        Refuse(place, "координата должна быть числом");
    }
    const double v = value.get<double>();
    if (!std::isfinite(v)) {
        Refuse(place, "координата должна быть конечным числом");
    }
    return v;
}

// One attribute table of the layer `named`: a name without a point, unique in
// the layer, and fields that are non-empty texts, each once.
SemTable LoadTable(const json& t, const Layer& layer, const std::string& named) {
    if (!t.is_object()) {
        Refuse(named, "таблица должна быть объектом");
    }
    SemTable table;
    table.name = Text(Member(t, "name", named + ", таблица", json::value_t::string, true));
    const std::string tplace = named + ", таблица " + Quoted(WideToUtf8(table.name));
    if (table.name.empty() || table.name.find(u'.') != std::u16string::npos) {
        Refuse(tplace, "имя таблицы пусто или содержит точку");
    }
    for (const SemTable& other : layer.tables) {
        if (other.name == table.name) {
            Refuse(tplace, "таблица повторяется");
        }
    }
    const json& fields = Member(t, "fields", tplace, json::value_t::array, true);
    for (const json& f : fields) {
        if (!f.is_string() || f.get_ref<const std::string&>().empty()) {
            Refuse(tplace, "имя поля должно быть непустым текстом");
        }
        std::u16string field = Text(f);
        for (const std::u16string& other : table.fields) {
            if (other == field) {
                Refuse(tplace + ", поле " + Quoted(f.get<std::string>()), "поле повторяется");
            }
        }
        table.fields.push_back(std::move(field));
    }
    return table;
}

// Style `s` of the layer `named`, added to the model; its identifier is
// unique in the whole model.
void LoadStyle(const json& st, std::size_t s, const std::u16string& layer_id,
               const std::string& named, MapModel& model) {
    const std::string splace = named + ", стиль " + std::to_string(s);
    if (!st.is_object()) {
        Refuse(splace, "ожидается объект");
    }
    Style style;
    style.id = Identifier(st, "id", splace);
    const std::string snamed = named + ", стиль " + Quoted(WideToUtf8(style.id));
    const json& sname = Member(st, "name", snamed, json::value_t::string, false);
    style.name = sname.is_null() ? style.id : Text(sname);
    style.layer = layer_id;
    style.kind = ParseKind(
        Member(st, "kind", snamed, json::value_t::string, true).get<std::string>(), snamed);
    const json& text = Member(st, "text", snamed, json::value_t::string, false);
    if (!text.is_null()) {
        if (style.kind != StyleKind::Text) {
            Refuse(snamed, "шаблон подписи (\"text\") бывает только у стиля вида text");
        }
        style.text = Text(text);
    }
    if (model.FindStyle(style.id)) {
        Refuse(snamed, "стиль с таким идентификатором уже есть");
    }
    model.AddStyle(std::move(style));
}

// Layer `i` with its tables, added to the model, then its styles.
void LoadLayer(const json& item, std::size_t i, MapModel& model) {
    const std::string place = "слой " + std::to_string(i);
    if (!item.is_object()) {
        Refuse(place, "ожидается объект");
    }
    Layer layer;
    layer.id = Identifier(item, "id", place);
    const std::string named = "слой " + Quoted(WideToUtf8(layer.id));
    const json& name = Member(item, "name", named, json::value_t::string, false);
    layer.name = name.is_null() ? layer.id : Text(name);
    const json& tables = Member(item, "tables", named, json::value_t::array, false);
    if (!tables.is_null()) {
        for (const json& t : tables) {
            layer.tables.push_back(LoadTable(t, layer, named));
        }
    }
    if (model.FindLayer(layer.id)) {
        Refuse(named, "слой с таким идентификатором уже есть");
    }
    const std::u16string layer_id = layer.id;
    model.AddLayer(std::move(layer));

    const json& styles = Member(item, "styles", named, json::value_t::array, false);
    if (styles.is_null()) {
        return;
    }
    for (std::size_t s = 0; s < styles.size(); ++s) {
        LoadStyle(styles[s], s, layer_id, named, model);
    }
}

void LoadLayers(const json& root, MapModel& model) {
    const json& layers = Member(root, "layers", "корень", json::value_t::array, false);
    if (layers.is_null()) {
        return;
    }
    for (std::size_t i = 0; i < layers.size(); ++i) {
        LoadLayer(layers[i], i, model);
    }
}

void LoadMaps(const json& root, MapModel& model) {
    const json& maps = Member(root, "maps", "корень", json::value_t::array, false);
    if (maps.is_null()) {
        return;
    }
    for (std::size_t i = 0; i < maps.size(); ++i) {
        const std::string place = "карта " + std::to_string(i);
        if (!maps[i].is_object()) {
            Refuse(place, "ожидается объект");
        }
        Map map;
        map.id = Identifier(maps[i], "id", place);
        const std::string named = "карта " + Quoted(WideToUtf8(map.id));
        const json& name = Member(maps[i], "name", named, json::value_t::string, false);
        map.name = name.is_null() ? map.id : Text(name);
        const json& layers = Member(maps[i], "layers", named, json::value_t::array, false);
        if (!layers.is_null()) {
            for (const json& l : layers) {
                if (!l.is_string()) {
                    Refuse(named, "слой карты должен быть идентификатором");
                }
                std::u16string id = Text(l);
                if (!model.FindLayer(id)) {
                    Refuse(named, "нет слоя " + Quoted(l.get<std::string>()));
                }
                map.layers.push_back(std::move(id));
            }
        }
        if (model.FindMap(map.id)) {
            Refuse(named, "карта с таким идентификатором уже есть");
        }
        model.AddMap(std::move(map));
    }
}

ObjectState LoadObjectState(const json& item, const Layer& layer, const MapModel& model,
                            const std::string& named) {
    ObjectState state;
    const json& shapes = Member(item, "shapes", named, json::value_t::array, false);
    if (!shapes.is_null()) {
        for (std::size_t s = 0; s < shapes.size(); ++s) {
            const std::string splace = named + ", фигура " + std::to_string(s);
            const json& sh = shapes[s];
            if (!sh.is_object()) {
                Refuse(splace, "ожидается объект");
            }
            Shape shape;
            const json& style = Member(sh, "style", splace, json::value_t::string, true);
            shape.style = Text(style);
            if (!model.FindStyle(shape.style)) {
                Refuse(splace, "нет стиля " + Quoted(style.get<std::string>()));
            }
            const json& flag = Member(sh, "flag", splace, json::value_t::boolean, false);
            shape.flag = !flag.is_null() && flag.get<bool>();
            const json& parts = Member(sh, "parts", splace, json::value_t::array, false);
            if (!parts.is_null()) {
                for (std::size_t p = 0; p < parts.size(); ++p) {
                    const std::string pplace = splace + ", часть " + std::to_string(p);
                    if (!parts[p].is_array()) {
                        Refuse(pplace, "часть должна быть массивом вершин");
                    }
                    ContourPart part;
                    for (std::size_t v = 0; v < parts[p].size(); ++v) {
                        const std::string vplace = pplace + ", вершина " + std::to_string(v);
                        const json& vx = parts[p][v];
                        if (!vx.is_array() || vx.size() < 2 || vx.size() > 3) {
                            Refuse(vplace, "вершина должна быть [x, y, c] или [x, y]");
                        }
                        part.vertices.push_back(
                            Vertex{Coordinate(vx[0], vplace), Coordinate(vx[1], vplace),
                                   vx.size() == 3 ? Coordinate(vx[2], vplace) : 0.0});
                    }
                    shape.parts.push_back(std::move(part));
                }
            }
            state.shapes.push_back(std::move(shape));
        }
    }
    const json& values = Member(item, "values", named, json::value_t::object, false);
    if (!values.is_null()) {
        for (const auto& [key, value] : values.items()) {
            const std::string vplace = named + ", поле " + Quoted(key);
            const std::u16string wide = Utf8ToWide(key);
            const std::size_t dot = wide.find(u'.');
            if (dot == std::u16string::npos ||
                !model.HasField(layer, std::u16string_view(wide).substr(0, dot),
                                std::u16string_view(wide).substr(dot + 1))) {
                Refuse(vplace, "нет такого поля в таблицах слоя " + Quoted(WideToUtf8(layer.id)));
            }
            if (value.is_number()) {
                const double v = value.get<double>();
                if (!std::isfinite(v)) {
                    Refuse(vplace, "значение должно быть конечным числом");
                }
                state.values.emplace(wide, v);
            } else if (value.is_string()) {
                state.values.emplace(wide, Text(value));
            } else {
                Refuse(vplace, "значение должно быть числом или текстом");
            }
        }
    }
    return state;
}

void LoadObjects(const json& root, MapModel& model) {
    const json& objects = Member(root, "objects", "корень", json::value_t::array, false);
    if (objects.is_null()) {
        return;
    }
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::string place = "объект " + std::to_string(i);
        const json& item = objects[i];
        if (!item.is_object()) {
            Refuse(place, "ожидается объект");
        }
        std::u16string id = Identifier(item, "id", place);
        const std::string named = "объект " + Quoted(WideToUtf8(id));
        if (model.FindObject(id)) {
            Refuse(named, "объект с таким идентификатором уже есть");
        }
        const json& layer_id = Member(item, "layer", named, json::value_t::string, true);
        const Layer* layer = model.FindLayer(Text(layer_id));
        if (!layer) {
            Refuse(named, "нет слоя " + Quoted(layer_id.get<std::string>()));
        }
        ObjectState state = LoadObjectState(item, *layer, model, named);
        model.AddObject(std::move(id), layer->id, std::move(state));
    }
}

void LoadSelectionAndPreferences(const json& root, MapModel& model) {
    const json& selection = Member(root, "selection", "корень", json::value_t::array, false);
    if (!selection.is_null()) {
        for (const json& s : selection) {
            if (!s.is_string()) {
                Refuse("выделение", "элемент должен быть идентификатором объекта");
            }
            std::u16string id = Text(s);
            if (!model.FindObject(id)) {
                Refuse("выделение", "нет объекта " + Quoted(s.get<std::string>()));
            }
            model.selection.push_back(std::move(id));
        }
    }
    const json& preferences = Member(root, "preferences", "корень", json::value_t::object, false);
    if (!preferences.is_null()) {
        for (const auto& [key, value] : preferences.items()) {
            if (!value.is_string()) {
                Refuse("настройки, ключ " + Quoted(key), "значение должно быть текстом");
            }
            model.preferences[Utf8ToWide(key)] = Text(value);
        }
    }
}

ordered_json SaveValue(const Value& value) {
    if (const double* number = std::get_if<double>(&value)) {
        return *number;
    }
    return WideToUtf8(std::get<std::u16string>(value));
}

}  // namespace

MapModel LoadProject(std::string_view json_text) {
    json root;
    try {
        root = json::parse(json_text.begin(), json_text.end());
    } catch (const json::parse_error& e) {
        throw ProjectError("Проект не загружен: ошибка JSON в позиции " + std::to_string(e.byte));
    }
    if (!root.is_object()) {
        Refuse("корень", "ожидается объект");
    }
    MapModel model;
    LoadLayers(root, model);
    LoadMaps(root, model);
    LoadObjects(root, model);
    LoadSelectionAndPreferences(root, model);
    return model;
}

std::string SaveProject(const MapModel& model) {
    ordered_json root;
    root["maps"] = ordered_json::array();
    for (const Map& map : model.maps()) {
        ordered_json m;
        m["id"] = WideToUtf8(map.id);
        m["name"] = WideToUtf8(map.name);
        m["layers"] = ordered_json::array();
        for (const auto& layer : map.layers) {
            m["layers"].push_back(WideToUtf8(layer));
        }
        root["maps"].push_back(std::move(m));
    }
    root["layers"] = ordered_json::array();
    for (const Layer& layer : model.layers()) {
        ordered_json l;
        l["id"] = WideToUtf8(layer.id);
        l["name"] = WideToUtf8(layer.name);
        l["tables"] = ordered_json::array();
        for (const SemTable& table : layer.tables) {
            ordered_json t;
            t["name"] = WideToUtf8(table.name);
            t["fields"] = ordered_json::array();
            for (const auto& field : table.fields) {
                t["fields"].push_back(WideToUtf8(field));
            }
            l["tables"].push_back(std::move(t));
        }
        l["styles"] = ordered_json::array();
        for (const Style* style : model.StylesOf(layer)) {
            ordered_json s;
            s["id"] = WideToUtf8(style->id);
            s["name"] = WideToUtf8(style->name);
            s["kind"] = KindName(style->kind);
            if (style->kind == StyleKind::Text) {
                s["text"] = WideToUtf8(style->text);
            }
            l["styles"].push_back(std::move(s));
        }
        root["layers"].push_back(std::move(l));
    }
    root["objects"] = ordered_json::array();
    for (const auto& object : model.objects()) {
        const ObjectState& state = object->CommittedState();
        ordered_json o;
        o["id"] = WideToUtf8(object->id);
        o["layer"] = WideToUtf8(object->layer);
        o["shapes"] = ordered_json::array();
        for (const Shape& shape : state.shapes) {
            ordered_json s;
            s["style"] = WideToUtf8(shape.style);
            s["flag"] = shape.flag;
            s["parts"] = ordered_json::array();
            for (const ContourPart& part : shape.parts) {
                ordered_json p = ordered_json::array();
                for (const Vertex& v : part.vertices) {
                    p.push_back(ordered_json::array({v.x, v.y, v.c}));
                }
                s["parts"].push_back(std::move(p));
            }
            o["shapes"].push_back(std::move(s));
        }
        o["values"] = ordered_json::object();
        for (const auto& [key, value] : state.values) {
            o["values"][WideToUtf8(key)] = SaveValue(value);
        }
        root["objects"].push_back(std::move(o));
    }
    root["selection"] = ordered_json::array();
    for (const auto& id : model.selection) {
        root["selection"].push_back(WideToUtf8(id));
    }
    root["preferences"] = ordered_json::object();
    for (const auto& [key, value] : model.preferences) {
        root["preferences"][WideToUtf8(key)] = WideToUtf8(value);
    }
    return root.dump(2);
}

}  // namespace kavrel::host
