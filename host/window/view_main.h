// `maphost view`: the stand-in host as a desktop program on a project, with
// the add-on connected and its commands in the menu and toolbar.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kavrel::host {

struct ViewOptions {
    std::wstring project;
    std::optional<std::wstring> addon;  // DLL path; by class id when absent
    int width = 1280;                   // the main window's first size
    int height = 860;
    std::vector<std::u16string> select;    // objects selected at start
    std::vector<long> execute;             // commands chosen at start, as from the menu
    std::optional<std::wstring> snapshot;  // PNG of the window once shown; then it closes
};

// Runs until the main window is closed; answers the process exit status
// (0, or 2 when the project cannot be read).
int RunView(const ViewOptions& options);

}  // namespace kavrel::host
