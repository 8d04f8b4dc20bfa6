// The projects the benchmark times the editor on, built in memory through the
// map model (not from project text), so that building them is never what is
// timed. Every project has the layers and styles of the editor tests: layer L1
// with the mark styles SP, ST, SR, SRT, the other style SX and table A (fields
// H, N); layer LR with the rail-line style RL. All n objects of interest are
// selected, and the preferences point the panel at those styles.
#pragma once

#include <cstddef>
#include <string>

#include "host/model/map_model.h"

namespace kavrel::bench {

enum class ProjectKind {
    PlainMarks,  // n well-formed plain marks
    RailMarks,   // n rail marks, each 0.35 from its own slanting rail line (n rail lines)
    NonMarks,    // n objects of one SX line each: every one must be rebuilt
    // n plain marks 3.0 apart, each label lying on its point, and an SX
    // contour line along each row of marks, 0.7 north of their points
    ContourMarks,
};

const char* ProjectName(ProjectKind kind);

host::MapModel BuildProject(ProjectKind kind, std::size_t n);

// The identifier of the i-th selected object.
std::u16string ObjectId(std::size_t i);

// Where the i-th of n objects stands, and the height it starts with.
struct ObjectPlace {
    double x = 0.0;
    double y = 0.0;
    double height = 0.0;
};
ObjectPlace PlaceOf(std::size_t i, std::size_t n);

}  // namespace kavrel::bench
