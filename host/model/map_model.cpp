#include "host/model/map_model.h"

#include <algorithm>
#include <stdexcept>

namespace kavrel::host {

std::optional<Rect> BoundsOf(const ObjectState& state) {
    std::optional<Rect> box;
    for (const Shape& shape : state.shapes) {
        for (const ContourPart& part : shape.parts) {
            if (auto part_box = BoundsOf(part.vertices)) {
                if (box) {
                    box->Extend(*part_box);
                } else {
                    box = part_box;
                }
            }
        }
    }
    return box;
}

void MapModel::AddMap(Map map) {
    if (FindMap(map.id)) {
        throw std::invalid_argument("duplicate map");
    }
    maps_.push_back(std::move(map));
}

void MapModel::AddLayer(Layer layer) {
    if (FindLayer(layer.id)) {
        throw std::invalid_argument("duplicate layer");
    }
    layers_.push_back(std::move(layer));
}

void MapModel::AddStyle(Style style) {
    if (FindStyle(style.id)) {
        throw std::invalid_argument("duplicate style");
    }
    for (Layer& layer : layers_) {
        if (layer.id == style.layer) {
            layer.styles.push_back(style.id);
        }
    }
    std::u16string id = style.id;
    styles_.emplace(id, std::move(style));
}

MapObject& MapModel::AddObject(std::u16string id, std::u16string layer, ObjectState state) {
    if (object_numbers_.count(id)) {
        throw std::invalid_argument("duplicate object");
    }
    auto object = std::make_unique<MapObject>();
    object->number = objects_.size();
    object->id = std::move(id);
    object->layer = std::move(layer);
    object->current = std::move(state);
    for (Shape& shape : object->current.shapes) {
        shape.serial = NextSerial();
        for (ContourPart& part : shape.parts) {
            part.serial = NextSerial();
        }
    }
    object_numbers_.emplace(object->id, object->number);
    index_.Update(object->number, BoundsOf(object->current));
    objects_.push_back(std::move(object));
    return *objects_.back();
}

const Map* MapModel::FindMap(std::u16string_view id) const {
    for (const Map& map : maps_) {
        if (map.id == id) {
            return &map;
        }
    }
    return nullptr;
}

const Layer* MapModel::FindLayer(std::u16string_view id) const {
    for (const Layer& layer : layers_) {
        if (layer.id == id) {
            return &layer;
        }
    }
    return nullptr;
}

const Style* MapModel::FindStyle(std::u16string_view id) const {
    auto it = styles_.find(id);
    return it == styles_.end() ? nullptr : &it->second;
}

MapObject* MapModel::FindObject(std::u16string_view id) {
    auto it = object_numbers_.find(id);
    return it == object_numbers_.end() ? nullptr : objects_[it->second].get();
}

const MapObject* MapModel::FindObject(std::u16string_view id) const {
    return const_cast<MapModel*>(this)->FindObject(id);
}

std::vector<const Style*> MapModel::StylesOf(const Layer& layer) const {
    std::vector<const Style*> out;
    for (const std::u16string& id : layer.styles) {
        out.push_back(FindStyle(id));
    }
    return out;
}

bool MapModel::HasField(const Layer& layer, std::u16string_view table,
                        std::u16string_view field) const {
    for (const SemTable& t : layer.tables) {
        if (t.name == table) {
            return std::find(t.fields.begin(), t.fields.end(), field) != t.fields.end();
        }
    }
    return false;
}

ObjectState& MapModel::Edit(MapObject& object) {
    if (!object.committed) {
        object.committed = object.current;
        pending_.push_back(object.number);
    }
    return object.current;
}

void MapModel::Reindex(MapObject& object) {
    index_.Update(object.number, BoundsOf(object.current));
}

std::size_t MapModel::CommitAll() {
    const std::size_t count = pending_.size();
    for (std::size_t number : pending_) {
        objects_[number]->committed.reset();
    }
    pending_.clear();
    return count;
}

std::vector<std::u16string> MapModel::ObjectsWithPendingEdits() const {
    std::vector<std::size_t> numbers = pending_;
    std::sort(numbers.begin(), numbers.end());  // model order
    std::vector<std::u16string> out;
    for (std::size_t number : numbers) {
        out.push_back(objects_[number]->id);
    }
    return out;
}

bool MapModel::ShapeMeetsRect(const Shape& shape, const Rect& rect) const {
    const Style* style = FindStyle(shape.style);
    const bool closed = style && style->kind == StyleKind::Polygon;
    for (const ContourPart& part : shape.parts) {
        if (ChainMeetsRect(part.vertices, rect, closed)) {
            return true;
        }
    }
    return false;
}

std::vector<const MapObject*> MapModel::QueryInRect(std::u16string_view layer,
                                                    const Rect& rect) const {
    std::vector<const MapObject*> out;
    for (std::size_t number : index_.Candidates(rect)) {
        const MapObject& object = *objects_[number];
        if (object.layer != layer) {
            continue;
        }
        for (const Shape& shape : object.current.shapes) {
            if (ShapeMeetsRect(shape, rect)) {
                out.push_back(&object);
                break;
            }
        }
    }
    return out;
}

}  // namespace kavrel::host
