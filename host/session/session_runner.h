// Scripted sessions: a project, a script of steps run against the add-on
// inside the host, and the result file (the committed project plus what the
// host observed). The format is described in docs/sessions.md.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kavrel::host {

struct SessionOptions {
    std::wstring project;
    std::wstring script;
    std::wstring out;
    std::optional<std::wstring> addon;    // DLL path; by class id when absent
    std::optional<std::wstring> picture;  // PNG of the map at the end
    std::optional<std::wstring> before;   // PNG of the map before the first step
    std::optional<std::wstring> window;   // PNG of the main window at the end, panels docked
    std::optional<std::wstring> panel;    // PNG of the first shown task panel at the end
    std::optional<std::wstring> report;   // the short text report (UTF-8)
    // Form type and PNG: the first shown window of that form at the end.
    std::vector<std::pair<std::wstring, std::wstring>> form_pictures;
    int picture_width = 800;  // size of the map pictures
    int picture_height = 600;
    int window_width = 1000;  // size the main window is shown at for its picture
    int window_height = 720;
};

// Runs the session and answers the process exit status: 0 when every step was
// carried out, 1 when one could not be (R.json is written in both cases), 2
// when the project or the script cannot be read (nothing is written).
int RunSession(const SessionOptions& options);

}  // namespace kavrel::host
