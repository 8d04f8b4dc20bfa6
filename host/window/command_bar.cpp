#include "host/window/command_bar.h"

#include <commctrl.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "base/short_string.h"
#include "base/wide.h"
#include "host/window/bitmap_stream.h"
#include "host/window/menu_path.h"

namespace kavrel::host {
namespace {

std::u16string ItemText(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

// The popup of the menu with the text, appended when there is none.
HMENU PopupOf(HMENU menu, const std::u16string& text) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (sub && ItemText(menu, static_cast<UINT>(i)) == text) {
            return sub;
        }
    }
    HMENU popup = CreatePopupMenu();
    if (!popup) {
        throw std::runtime_error("CreatePopupMenu failed");
    }
    if (!AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), Wide(text))) {
        DestroyMenu(popup);
        throw std::runtime_error("AppendMenuW failed");
    }
    return popup;
}

// Menus do not come with an owner type of their own; this one destroys a
// menu bar that was not handed to a window.
class MenuOwner {
  public:
    MenuOwner() : menu_(CreateMenu()) {
        if (!menu_) {
            throw std::runtime_error("CreateMenu failed");
        }
    }
    MenuOwner(const MenuOwner&) = delete;
    MenuOwner& operator=(const MenuOwner&) = delete;
    ~MenuOwner() {
        if (menu_) {
            DestroyMenu(menu_);
        }
    }
    HMENU get() const { return menu_; }
    HMENU release() { return std::exchange(menu_, nullptr); }

  private:
    HMENU menu_;
};

void AddButton(HWND toolbar, int image, UINT item, BYTE style, const std::u16string& text) {
    TBBUTTON button{};
    button.iBitmap = image;
    button.idCommand = static_cast<int>(item);
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = style;
    button.iString = text.empty() ? 0 : reinterpret_cast<INT_PTR>(Wide(text));
    if (!SendMessageW(toolbar, TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&button))) {
        throw std::runtime_error("TB_ADDBUTTONS failed");
    }
}

}  // namespace

std::vector<ViewCommand> ViewCommandsOf(const std::vector<LoadedCommand>& loaded) {
    std::vector<ViewCommand> commands;
    for (const LoadedCommand& command : loaded) {
        ViewCommand view;
        view.id = command.attrs.Id;
        view.caption = ReadShortStringWide(command.attrs.Caption);
        view.menu_path = ReadShortStringWide(command.attrs.MenuPath);
        view.toolbar = ReadShortStringWide(command.attrs.ToolbarName);
        if (SUCCEEDED(command.save_status) && command.save_status != S_FALSE) {
            view.bitmap = DecodeBitmapStream(command.bitmap_bytes);
        }
        commands.push_back(std::move(view));
    }
    return commands;
}

std::vector<ToolbarGroup> ToolbarGroupsOf(const std::vector<ViewCommand>& commands) {
    std::vector<ToolbarGroup> groups;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (!commands[i].bitmap) {
            continue;  // a command without a picture has its menu item only
        }
        auto it = std::find_if(groups.begin(), groups.end(), [&](const ToolbarGroup& group) {
            return group.name == commands[i].toolbar;
        });
        if (it == groups.end()) {
            groups.push_back(ToolbarGroup{commands[i].toolbar, {}});
            it = groups.end() - 1;
        }
        it->commands.push_back(i);
    }
    return groups;
}

HMENU BuildMenuBar(const std::vector<ViewCommand>& commands) {
    MenuOwner bar;
    HMENU file = PopupOf(bar.get(), u"&Файл");
    AppendMenuW(file, MF_STRING, kOpenProjectItem, L"&Открыть проект...\tCtrl+O");
    AppendMenuW(file, MF_STRING, kSaveProjectItem, L"&Сохранить проект\tCtrl+S");
    AppendMenuW(file, MF_STRING, kSaveProjectAsItem, L"Сохранить &как...");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kExitItem, L"В&ыход");
    HMENU view = PopupOf(bar.get(), u"&Вид");
    AppendMenuW(view, MF_STRING, kShowAllItem, L"&Показать всё\tHome");
    AppendMenuW(view, MF_STRING, kClearSelectionItem, L"&Снять выделение\tEsc");
    for (std::size_t i = 0; i < commands.size(); ++i) {
        std::vector<std::u16string> levels = SplitMenuPath(commands[i].menu_path);
        if (levels.empty()) {
            levels.push_back(commands[i].caption);
        }
        HMENU menu = bar.get();
        for (std::size_t level = 0; level + 1 < levels.size(); ++level) {
            menu = PopupOf(menu, levels[level]);
        }
        if (!AppendMenuW(menu, MF_STRING, kFirstCommandItem + i, Wide(levels.back()))) {
            throw std::runtime_error("AppendMenuW failed");
        }
    }
    return bar.release();
}

BitmapHandle OnBackground(HBITMAP bitmap, COLORREF background) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) {
        return {};
    }
    WindowDC screen(nullptr);
    BitmapHandle copy(CreateCompatibleBitmap(screen.get(), info.bmWidth, info.bmHeight));
    MemoryDC source(screen.get());
    MemoryDC target(screen.get());
    if (!copy || !source.get() || !target.get()) {
        return {};
    }
    SelectedObject from(source.get(), bitmap);
    SelectedObject to(target.get(), copy.get());
    BitBlt(target.get(), 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
    const COLORREF transparent = GetPixel(source.get(), 0, info.bmHeight - 1);
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            if (GetPixel(source.get(), x, y) == transparent) {
                SetPixel(target.get(), x, y, background);
            }
        }
    }
    return copy;
}

HWND CreateCommandToolbar(HWND parent, const std::vector<ViewCommand>& commands,
                          std::vector<BitmapHandle>& images) {
    HWND toolbar = CreateWindowExW(
        0, TOOLBARCLASSNAMEW, nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0,
        0, 0, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!toolbar) {
        throw std::runtime_error("cannot create the toolbar");
    }
    SendMessageW(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageW(toolbar, TB_SETBITMAPSIZE, 0, MAKELPARAM(16, 16));
    // No text under the buttons: a button's text becomes its tooltip.
    SendMessageW(toolbar, TB_SETMAXTEXTROWS, 0, 0);
    TBADDBITMAP standard{HINST_COMMCTRL, IDB_STD_SMALL_COLOR};
    const int first_standard = static_cast<int>(
        SendMessageW(toolbar, TB_ADDBITMAP, 0, reinterpret_cast<LPARAM>(&standard)));
    AddButton(toolbar, first_standard + STD_FILEOPEN, kOpenProjectItem, BTNS_BUTTON,
              u"Открыть проект");
    AddButton(toolbar, first_standard + STD_FILESAVE, kSaveProjectItem, BTNS_BUTTON,
              u"Сохранить проект");
    for (const ToolbarGroup& group : ToolbarGroupsOf(commands)) {
        AddButton(toolbar, 0, 0, BTNS_SEP, u"");
        for (std::size_t i : group.commands) {
            images.push_back(OnBackground(commands[i].bitmap.get(), GetSysColor(COLOR_BTNFACE)));
            HBITMAP shown = images.back() ? images.back().get() : commands[i].bitmap.get();
            TBADDBITMAP picture{nullptr, reinterpret_cast<UINT_PTR>(shown)};
            const int image = static_cast<int>(
                SendMessageW(toolbar, TB_ADDBITMAP, 1, reinterpret_cast<LPARAM>(&picture)));
            AddButton(toolbar, image, kFirstCommandItem + static_cast<UINT>(i), BTNS_BUTTON,
                      commands[i].caption);
        }
    }
    SendMessageW(toolbar, TB_AUTOSIZE, 0, 0);
    return toolbar;
}

}  // namespace kavrel::host
