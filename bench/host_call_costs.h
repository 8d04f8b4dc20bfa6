// The cost of single host calls, called from outside the add-on over every
// object of a project of n objects: what one call costs the host (its
// bookkeeping, error state, objects handed out) and whether that grows with
// the size of the map. Where the editor's time goes is read from these rows
// together with the host calls per mark of the action table.
#pragma once

#include <cstddef>
#include <vector>

#include "bench/bench_report.h"

namespace kavrel::bench {

std::vector<HostCallSample> MeasureHostCalls(std::size_t n);

}  // namespace kavrel::bench
