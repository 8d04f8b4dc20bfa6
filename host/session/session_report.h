// The short text report of a session: the add-on's identity and commands,
// then each step with what it selected or changed and how long it took.
// Windows-free.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/model/legibility.h"
#include "host/session/step_changes.h"

namespace kavrel::host {

struct StepRecord {
    std::string path;    // "3"
    std::string what;    // the step's "do"
    std::string note;    // the script's own words for the step, may be empty
    std::string detail;  // what the step acted on: ids, control, text
    double milliseconds = 0;
    StepChanges changes;
    std::size_t messages = 0;  // message boxes shown during the step
    bool failed = false;
    std::vector<std::string> output;  // what the step read from a window
};

struct ReportHeader {
    std::string project;
    std::size_t objects = 0;
    std::string host;                   // "32-bit (x86)" or "64-bit (x64)"
    std::string addon;                  // "name — caption {class id}"
    std::vector<std::string> commands;  // one line per command
    std::string decimal;
    std::vector<std::string> messages;  // message box texts, in order
    std::string failure;                // empty when every step ran
    // The host's measure of the labels on the map as loaded and at the end.
    std::optional<Legibility> legibility_before;
    std::optional<Legibility> legibility_after;
};

std::string FormatReport(const ReportHeader& header, const std::vector<StepRecord>& steps);

// "324 labels: 120 overlapping pairs, 40 covering a point, 90 crossed by a
// line, 3 far from their point".
std::string LegibilityLine(const Legibility& legibility);

// One line of a change summary: "12 objects: 12 labels turned; 3 values changed".
std::string ChangeLine(const StepChanges& changes);

}  // namespace kavrel::host
