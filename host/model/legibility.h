// How legible the labels of a map are, as the host paints them: label pairs
// whose text boxes overlap, labels that cover a point, labels crossed by a
// line, and mark labels drawn far from their point. The yardstick of label
// placement; it knows nothing of how an add-on places labels. Windows-free:
// the text's extent comes from the caller (the painter's font).
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "host/model/map_model.h"

namespace kavrel::host {

// The box of a text drawn from its baseline's start: its advance width, and
// how far the text cell reaches above and below the baseline, in map units.
struct TextExtent {
    double width = 0;
    double ascent = 0;
    double descent = 0;
};
using TextMeasure = std::function<TextExtent(std::u16string_view text)>;

struct Legibility {
    std::size_t labels = 0;             // texts drawn
    std::size_t overlapping_pairs = 0;  // pairs of labels whose boxes overlap
    std::size_t covering_points = 0;    // labels whose box holds a point of a point shape
    std::size_t crossed_by_lines = 0;   // labels a line or polygon outline runs through
    // Labels of marks (an object with a point, or a two-vertex stroke, and the
    // label) whose box lies farther from the mark's point than far_distance.
    std::size_t far_from_point = 0;

    bool operator==(const Legibility&) const = default;
};

// Measures the committed map. Every part of a text shape is one label, drawn
// as the painter draws it: from vertex 0 towards vertex 1 (east when there is
// no direction). Boxes that only touch do not overlap.
Legibility MeasureLegibility(const MapModel& model, char16_t decimal_separator,
                             const TextMeasure& measure, double far_distance);

}  // namespace kavrel::host
