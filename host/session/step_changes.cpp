#include "host/session/step_changes.h"

#include <cmath>
#include <optional>

#include "base/utf8.h"
#include "host/model/number_format.h"

namespace kavrel::host {
namespace {

// Coordinates travel as doubles through COM untouched; anything beyond
// rounding noise is a change.
constexpr double kTolerance = 1e-9;

bool SameVertex(const Vertex& a, const Vertex& b) {
    return std::fabs(a.x - b.x) <= kTolerance && std::fabs(a.y - b.y) <= kTolerance &&
           std::fabs(a.c - b.c) <= kTolerance;
}

bool SameGeometry(const Shape& a, const Shape& b) {
    if (a.parts.size() != b.parts.size()) {
        return false;
    }
    for (std::size_t p = 0; p < a.parts.size(); ++p) {
        const auto& va = a.parts[p].vertices;
        const auto& vb = b.parts[p].vertices;
        if (va.size() != vb.size()) {
            return false;
        }
        for (std::size_t v = 0; v < va.size(); ++v) {
            if (!SameVertex(va[v], vb[v])) {
                return false;
            }
        }
    }
    return true;
}

// The direction of a label's baseline (vertex 0 towards vertex 1) in radians.
std::optional<double> BaselineDirection(const Shape& shape) {
    if (shape.parts.empty() || shape.parts[0].vertices.size() < 2) {
        return std::nullopt;
    }
    const Vertex& a = shape.parts[0].vertices[0];
    const Vertex& b = shape.parts[0].vertices[1];
    if (a.x == b.x && a.y == b.y) {
        return std::nullopt;
    }
    return std::atan2(b.x - a.x, b.y - a.y);
}

bool Turned(const Shape& a, const Shape& b) {
    const auto da = BaselineDirection(a);
    const auto db = BaselineDirection(b);
    if (!da || !db) {
        return da.has_value() != db.has_value();
    }
    const double difference = std::remainder(*da - *db, 2 * 3.14159265358979323846);
    return std::fabs(difference) > 1e-9;
}

std::string ValueText(const ObjectState& state, const std::u16string& field, char16_t separator) {
    auto it = state.values.find(field);
    if (it == state.values.end()) {
        return "—";
    }
    if (const double* number = std::get_if<double>(&it->second)) {
        return WideToUtf8(FormatNumber(*number, separator));
    }
    return "«" + WideToUtf8(std::get<std::u16string>(it->second)) + "»";
}

bool SameShapeList(const ObjectState& a, const ObjectState& b) {
    if (a.shapes.size() != b.shapes.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.shapes.size(); ++i) {
        if (a.shapes[i].style != b.shapes[i].style || a.shapes[i].flag != b.shapes[i].flag) {
            return false;
        }
    }
    return true;
}

}  // namespace

ModelSnapshot SnapshotOf(const MapModel& model) {
    ModelSnapshot snapshot;
    for (const auto& object : model.objects()) {
        snapshot.emplace(object->id, object->CommittedState());
    }
    return snapshot;
}

StepChanges CompareSnapshots(const MapModel& model, const ModelSnapshot& before,
                             const ModelSnapshot& after, char16_t separator,
                             std::size_t max_examples) {
    StepChanges changes;
    for (const auto& [id, old_state] : before) {
        auto found = after.find(id);
        if (found == after.end()) {
            continue;
        }
        const ObjectState& new_state = found->second;
        bool changed = false;
        std::string example;

        if (!SameShapeList(old_state, new_state)) {
            ++changes.rebuilt;
            changed = true;
            example = "shapes rebuilt (" + std::to_string(old_state.shapes.size()) + " -> " +
                      std::to_string(new_state.shapes.size()) + ")";
        } else {
            for (std::size_t i = 0; i < old_state.shapes.size(); ++i) {
                const Shape& a = old_state.shapes[i];
                const Shape& b = new_state.shapes[i];
                if (SameGeometry(a, b)) {
                    continue;
                }
                changed = true;
                const Style* style = model.FindStyle(a.style);
                if (style && style->kind == StyleKind::Text) {
                    if (Turned(a, b)) {
                        ++changes.labels_turned;
                    } else {
                        ++changes.labels_moved;
                    }
                } else {
                    ++changes.anchors_changed;
                }
            }
        }

        std::map<std::u16string, bool> fields;
        for (const auto& [field, value] : old_state.values) {
            fields[field] = true;
        }
        for (const auto& [field, value] : new_state.values) {
            fields[field] = true;
        }
        for (const auto& [field, unused] : fields) {
            auto a = old_state.values.find(field);
            auto b = new_state.values.find(field);
            const bool same = a != old_state.values.end() && b != new_state.values.end() &&
                              a->second == b->second;
            if (same) {
                continue;
            }
            ++changes.values_changed;
            changed = true;
            if (example.empty()) {
                example = WideToUtf8(field) + ": " + ValueText(old_state, field, separator) +
                          " -> " + ValueText(new_state, field, separator);
            }
        }
        if (changed) {
            ++changes.objects;
            if (changes.examples.size() < max_examples && !example.empty()) {
                changes.examples.push_back(WideToUtf8(id) + " " + example);
            }
        }
    }
    return changes;
}

}  // namespace kavrel::host
