#include "host/session/session_report.h"

#include <cstdio>

namespace kavrel::host {
namespace {

std::string Milliseconds(double ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", ms);
    return text;
}

void AddCount(std::string& line, std::size_t count, const char* what) {
    if (count == 0) {
        return;
    }
    line += line.empty() ? "" : "; ";
    line += std::to_string(count) + " " + what;
}

}  // namespace

std::string LegibilityLine(const Legibility& legibility) {
    return std::to_string(legibility.labels) +
           " labels: " + std::to_string(legibility.overlapping_pairs) + " overlapping pairs, " +
           std::to_string(legibility.covering_points) + " covering a point, " +
           std::to_string(legibility.crossed_by_lines) + " crossed by a line, " +
           std::to_string(legibility.far_from_point) + " far from their point";
}

std::string ChangeLine(const StepChanges& changes) {
    if (changes.empty()) {
        return "no change on the map";
    }
    std::string parts;
    AddCount(parts, changes.rebuilt, "rebuilt as marks");
    AddCount(parts, changes.labels_turned, "labels turned");
    AddCount(parts, changes.labels_moved, "labels moved");
    AddCount(parts, changes.anchors_changed, "points or strokes moved");
    AddCount(parts, changes.values_changed, "values changed");
    return std::to_string(changes.objects) + (changes.objects == 1 ? " object: " : " objects: ") +
           parts;
}

std::string FormatReport(const ReportHeader& header, const std::vector<StepRecord>& steps) {
    std::string text;
    text += "KAVREL demo session\n";
    text += "project: " + header.project + " (" + std::to_string(header.objects) + " objects)\n";
    text += "decimal separator: " + header.decimal + "\n";
    if (!header.host.empty()) {
        text += "host: maphost, " + header.host + "\n";
    }
    text += "add-on: " + header.addon + "\n";
    for (const std::string& command : header.commands) {
        text += "  command " + command + "\n";
    }
    text += "\nsteps:\n";
    double total = 0;
    std::size_t changed = 0;
    for (const StepRecord& step : steps) {
        total += step.milliseconds;
        changed += step.changes.objects;
        text += "[" + step.path + "] " + step.what;
        if (!step.note.empty()) {
            text += " — " + step.note;
        }
        text += " (" + Milliseconds(step.milliseconds) + ")";
        if (step.failed) {
            text += " FAILED";
        }
        text += "\n";
        if (!step.detail.empty()) {
            text += "    " + step.detail + "\n";
        }
        if (!step.changes.empty()) {
            text += "    changed: " + ChangeLine(step.changes) + "\n";
            for (const std::string& example : step.changes.examples) {
                text += "      e.g. " + example + "\n";
            }
        }
        for (const std::string& line : step.output) {
            text += "    | " + line + "\n";
        }
        if (step.messages > 0) {
            text += "    message boxes: " + std::to_string(step.messages) + "\n";
        }
    }
    text.append("\n")
        .append(std::to_string(steps.size()))
        .append(" steps, ")
        .append(std::to_string(changed))
        .append(" object changes, ")
        .append(Milliseconds(total))
        .append(" in steps\n");
    if (header.legibility_before && header.legibility_after) {
        text += "labels, as the host measures them:\n";
        text += "  before: " + LegibilityLine(*header.legibility_before) + "\n";
        text += "  after:  " + LegibilityLine(*header.legibility_after) + "\n";
    }
    if (!header.messages.empty()) {
        text += "message boxes shown:\n";
        for (const std::string& message : header.messages) {
            // A message of several lines stays indented as one.
            std::string indented;
            for (char c : message) {
                indented += c;
                if (c == '\n') {
                    indented += "    ";
                }
            }
            text += "  " + indented + "\n";
        }
    }
    text += header.failure.empty() ? "result: every step carried out\n"
                                   : "result: stopped: " + header.failure + "\n";
    return text;
}

}  // namespace kavrel::host
