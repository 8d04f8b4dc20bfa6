// The benchmark's results as tables: medians over the repetitions, time per
// mark, host calls per mark and the growth of the per-mark cost from the
// smallest to the largest selection; written as Markdown.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kavrel::bench {

struct Sample {
    std::string action;
    std::size_t n = 0;
    double seconds = 0;
    long host_calls = 0;
};

struct HostCallSample {
    std::string operation;
    std::size_t n = 0;
    double nanoseconds = 0;  // per call
};

double Median(std::vector<double> values);

// The table of actions: one row per action and N (medians of the samples).
std::string ActionTable(const std::vector<Sample>& samples);
// Load plus connect and panel open: the first in the process (cold) and the
// median of the timed runs.
std::string StartupTable(double cold_load_connect, double cold_panel_open,
                         const std::vector<double>& load_connect,
                         const std::vector<double>& panel_open);
std::string HostCallTable(const std::vector<HostCallSample>& samples);

// Replaces the text between the two marker lines of a document (or appends
// the markers and the text when the document has none).
std::string ReplaceBetweenMarkers(const std::string& document, const std::string& text);
inline constexpr char kBeginMarker[] = "<!-- benchmark results: begin -->";
inline constexpr char kEndMarker[] = "<!-- benchmark results: end -->";

}  // namespace kavrel::bench
