// Pictures of the host's own windows as they are on the screen: the main
// window with the docked task panel, or one panel alone.
#pragma once

#include <windows.h>

#include <string>

namespace kavrel::host {

class HostContext;

// Shows the main window at the given size, lays out its children and lets
// every pending paint run, so that a picture shows what a user would see.
void ShowMainWindowForPictures(HostContext& host, int width, int height);

// Copies the window (its frame too) into a PNG file. The window must be shown.
bool WriteWindowPicture(HWND window, const std::wstring& path);

// The window of the first task panel that is shown; null when none is.
HWND ShownTaskPanelWindow(HostContext& host);

}  // namespace kavrel::host
