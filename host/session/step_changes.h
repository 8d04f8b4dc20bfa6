// What one step of a session changed on the map: the committed states of the
// objects before and after it, compared shape by shape and value by value.
// Windows-free.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "host/model/map_model.h"

namespace kavrel::host {

using ModelSnapshot = std::map<std::u16string, ObjectState>;

// The committed state of every object.
ModelSnapshot SnapshotOf(const MapModel& model);

struct StepChanges {
    std::size_t objects = 0;            // objects whose committed state changed
    std::size_t labels_turned = 0;      // text shapes whose baseline direction changed
    std::size_t labels_moved = 0;       // text shapes moved without turning
    std::size_t anchors_changed = 0;    // point and line shapes moved or turned
    std::size_t rebuilt = 0;            // objects whose list of shapes changed
    std::size_t values_changed = 0;     // attribute values changed, added or removed
    std::vector<std::string> examples;  // a few "H012 A.H: 147,12 -> 147,62" lines (UTF-8)

    bool empty() const { return objects == 0; }
};

// Compares two snapshots of the same model (objects are never added or
// removed by a session). Styles are looked up in the model to tell labels
// from anchors; numbers are written with the decimal separator given.
StepChanges CompareSnapshots(const MapModel& model, const ModelSnapshot& before,
                             const ModelSnapshot& after, char16_t decimal_separator,
                             std::size_t max_examples = 3);

}  // namespace kavrel::host
