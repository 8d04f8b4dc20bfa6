// The timed actions: one click on a panel button with all n objects of a
// project selected, and "Отменить" after it. Each run checks that the click
// did its work (sampled objects changed and committed, no message box) and
// that the undo brought them back, so that a fast failure is never reported
// as a fast action.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "bench/bench_projects.h"

namespace kavrel::bench {

struct Action {
    std::string name;
    ProjectKind project;
    const char* control;  // the panel button clicked
    bool rails;           // rails mode ticked before the click
    bool undone;          // "Отменить" is clicked and timed after it
};

// The first button of each kind of action in the panel's table of buttons,
// each on the project it changes, then a preset on objects that must be
// rebuilt first.
const std::vector<Action>& Actions();

struct ActionResult {
    std::string action;
    std::size_t n = 0;
    double seconds = 0;
    long host_calls = 0;
};

struct ProjectRun {
    double load_connect = 0;  // seconds
    double panel_open = 0;    // seconds
    std::vector<ActionResult> actions;
};

// The import's two phases on a catalogue of one row per mark, every row a new
// height: finding the marks (up to the question) and writing them (from the
// answer "Да" to the end).
inline constexpr char kImportMatch[] = "import: match";
inline constexpr char kImportWrite[] = "import: write";

// Builds the project of n objects, starts a host over it, loads and connects
// the add-on, opens the panel and clicks every action of that project once,
// with "Отменить" after it when `undo`; on the plain marks, then imports a
// catalogue of their heights. Throws when an action fails or does not change
// the selected objects, or an undo does not bring them back.
ProjectRun RunProject(const std::wstring& dll_path, ProjectKind kind, std::size_t n,
                      const std::vector<std::string>& only_actions, bool undo);

}  // namespace kavrel::bench
