// maphost's main window as a desktop program: the menu and toolbar built
// from the add-on's commands, the interactive map, the status bar, and the
// project's File commands. The host's windows (main, map, docked task
// panels) belong to the HostContext; this adds to them and takes them over.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/com/host_windows.h"
#include "host/window/command_bar.h"
#include "host/window/map_view.h"

namespace kavrel::host {

class HostContext;

class ViewWindow {
  public:
    // execute runs a command of the add-on (IHostAddOn.ExecuteMacro) and
    // answers its status.
    ViewWindow(HostContext& host, std::vector<ViewCommand> commands,
               std::function<HRESULT(LONG id)> execute, std::wstring project_path);
    ~ViewWindow();
    ViewWindow(const ViewWindow&) = delete;
    ViewWindow& operator=(const ViewWindow&) = delete;

    HWND main() const;
    HWND toolbar() const { return toolbar_.get(); }
    HWND status_bar() const { return status_.get(); }
    MapView& map_view() { return *map_view_; }
    const std::vector<ViewCommand>& commands() const { return commands_; }
    const std::wstring& project_path() const { return project_path_; }

    // What the File menu does once it has a path; each answers the error
    // text, shown to the user by the menu, or nothing on success.
    // Opening replaces the model with the file's project; it is refused while
    // the add-on holds objects of the current one.
    std::optional<std::wstring> OpenProject(const std::wstring& path);
    // Writes the committed state of the project.
    std::optional<std::wstring> SaveProjectAs(const std::wstring& path);

    // The status bar's texts from the model and the cursor.
    void UpdateStatus();
    // Posted to the main window when the user chooses "Выход" or closes it.
    std::function<void()> on_exit;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR id, DWORD_PTR self) noexcept;
    LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
    void Command(UINT item);
    void RunCommand(UINT item);
    void RunAddonCommand(std::size_t position);
    void ChooseAndOpen();
    void ChooseAndSave();
    void UpdateCaption();
    void ShowError(const std::wstring& text);

    HostContext& host_;
    std::vector<ViewCommand> commands_;        // their bitmaps outlive the toolbar
    std::vector<BitmapHandle> button_images_;  // so do the buttons' pictures
    std::function<HRESULT(LONG)> execute_;
    std::wstring project_path_;
    WindowHandle toolbar_;
    WindowHandle status_;
    std::unique_ptr<MapView> map_view_;
};

}  // namespace kavrel::host
