// The add-on's commands in the host's window: menu items placed by their menu
// path and toolbar buttons with the bitmaps the add-on serialised, grouped
// under their toolbar name, the caption as tooltip.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/gdi.h"
#include "host/session/addon_loader.h"

namespace kavrel::host {

struct ViewCommand {
    LONG id = 0;  // the add-on's command id, for IHostAddOn.ExecuteMacro
    std::u16string caption;
    std::u16string menu_path;
    std::u16string toolbar;
    BitmapHandle bitmap;  // decoded from the SaveBitmap stream; empty if none
};

std::vector<ViewCommand> ViewCommandsOf(const std::vector<LoadedCommand>& loaded);

// Menu and toolbar identifiers of the host's own items and of the commands.
enum HostItem : UINT {
    kOpenProjectItem = 100,
    kSaveProjectItem,
    kSaveProjectAsItem,
    kExitItem,
    kShowAllItem,
    kClearSelectionItem,
    kFirstCommandItem = 1000,  // + the command's position in the list
};

// Commands of one toolbar, in list order; toolbars in order of first appearance.
struct ToolbarGroup {
    std::u16string name;
    std::vector<std::size_t> commands;  // positions in the command list
};
std::vector<ToolbarGroup> ToolbarGroupsOf(const std::vector<ViewCommand>& commands);

// The menu bar: "Файл" and "Вид" of the host, then the commands' menus.
// The caller owns the menu until it is set on a window.
HMENU BuildMenuBar(const std::vector<ViewCommand>& commands);

// A flat toolbar, child of the main window: open and save, then each group of
// commands after a separator. The commands' pictures are shown on the
// button face: their transparent colour, that of the bottom-left pixel, is
// replaced; the replaced copies go to images, which must outlive the toolbar.
HWND CreateCommandToolbar(HWND parent, const std::vector<ViewCommand>& commands,
                          std::vector<BitmapHandle>& images);

// A copy of the bitmap with every pixel of its bottom-left pixel's colour
// painted in the colour given.
BitmapHandle OnBackground(HBITMAP bitmap, COLORREF background);

}  // namespace kavrel::host
