#include "host/window/view_main.h"

#include <windows.h>

#include <algorithm>
#include <iostream>
#include <optional>

#include "base/file_bytes.h"
#include "base/wide.h"
#include "host/com/host_context.h"
#include "host/model/project_file.h"
#include "host/session/addon_loader.h"
#include "host/session/session_error.h"
#include "host/session/window_picture.h"
#include "host/window/view_window.h"

namespace kavrel::host {
namespace {

// Owner of an accelerator table.
class Accelerators {
  public:
    Accelerators() {
        ACCEL keys[] = {
            {FVIRTKEY | FCONTROL, 'O', kOpenProjectItem},
            {FVIRTKEY | FCONTROL, 'S', kSaveProjectItem},
            {FVIRTKEY, VK_HOME, kShowAllItem},
            {FVIRTKEY, VK_ESCAPE, kClearSelectionItem},
        };
        table_ = CreateAcceleratorTableW(keys, static_cast<int>(std::size(keys)));
    }
    Accelerators(const Accelerators&) = delete;
    Accelerators& operator=(const Accelerators&) = delete;
    ~Accelerators() {
        if (table_) {
            DestroyAcceleratorTable(table_);
        }
    }
    HACCEL get() const { return table_; }

  private:
    HACCEL table_ = nullptr;
};

// Runs the messages already queued (layout, paints), then returns.
void PumpPending() {
    MSG message;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(30);
    }
}

char16_t UserDecimalSeparator() {
    wchar_t value[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, value, 8) > 0 && value[0] == L'.') {
        return u'.';
    }
    return u',';
}

// The project with the objects selected at start, or nothing when it cannot
// be had (the reason is on standard error).
std::optional<MapModel> LoadViewProject(const ViewOptions& options) {
    const auto text = ReadFileBytes(options.project);
    if (!text) {
        std::cerr << "maphost: cannot read the project file\n";
        return std::nullopt;
    }
    MapModel model;
    try {
        model = LoadProject(*text);
    } catch (const ProjectError& e) {
        std::cerr << e.what() << "\n";
        return std::nullopt;
    }
    for (const std::u16string& id : options.select) {
        if (!model.FindObject(id)) {
            std::cerr << "maphost: the project has no object " << WideToUtf8(id) << "\n";
            return std::nullopt;
        }
    }
    if (!options.select.empty()) {
        model.selection = options.select;
    }
    return model;
}

// Loads and connects the add-on; answers what the user is told when it could
// not be, or an empty text.
std::wstring ConnectAddon(AddonLoader& loader) {
    try {
        loader.Connect();
        if (FAILED(loader.connect_status()) || FAILED(loader.macro_attrs_status())) {
            return L"Надстройка не подключилась: её команд нет в меню.";
        }
        return {};
    } catch (const std::exception& e) {
        return L"Надстройка не загружена: " + Utf8ToWindows(e.what());
    }
}

// Centred in the work area, and no larger than it.
void PlaceMainWindow(HWND main, const ViewOptions& options) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    const int width = std::min<int>(options.width, area.right - area.left);
    const int height = std::min<int>(options.height, area.bottom - area.top);
    SetWindowPos(main, nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The commands chosen at start, as if from the menu.
void ExecuteStartCommands(const ViewWindow& view, const ViewOptions& options) {
    for (long id : options.execute) {
        const auto& commands = view.commands();
        for (std::size_t i = 0; i < commands.size(); ++i) {
            if (commands[i].id == id) {
                SendMessageW(view.main(), WM_COMMAND, MAKEWPARAM(kFirstCommandItem + i, 0), 0);
            }
        }
    }
}

// Paints the window once, writes its picture and asks the loop to end.
void TakeSnapshot(HWND main, const std::wstring& path) {
    PumpPending();
    RedrawWindow(main, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    PumpPending();
    const bool written = WriteWindowPicture(main, path);
    if (!written) {
        std::cerr << "maphost: cannot write the picture of the window\n";
    }
    PostQuitMessage(written ? 0 : 1);
}

// The desktop program's message loop; answers the exit status.
int RunMessageLoop(HWND main) {
    const Accelerators accelerators;
    MSG message;
    int status = 0;
    while ((status = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (accelerators.get() && TranslateAcceleratorW(main, accelerators.get(), &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return status == 0 ? static_cast<int>(message.wParam) : 1;
}

}  // namespace

int RunView(const ViewOptions& options) {
    std::optional<MapModel> model = LoadViewProject(options);
    if (!model) {
        return 2;
    }
    HostContext host(std::move(*model), UserDecimalSeparator());
    AddonLoader loader(host, options.addon);
    const std::wstring problem = ConnectAddon(loader);
    int exit_status = 0;
    {
        ViewWindow view(
            host, ViewCommandsOf(loader.commands()), [&](LONG id) { return loader.Execute(id); },
            options.project);
        view.on_exit = [] { PostQuitMessage(0); };
        HWND main = view.main();
        PlaceMainWindow(main, options);
        ShowWindow(main, SW_SHOW);
        UpdateWindow(main);
        if (!problem.empty() && !options.snapshot) {
            MessageBoxW(main, problem.c_str(), L"KAVREL MapHost", MB_OK | MB_ICONWARNING);
        }
        ExecuteStartCommands(view, options);
        if (options.snapshot) {
            TakeSnapshot(main, *options.snapshot);
        }
        exit_status = RunMessageLoop(main);
    }
    if (loader.created()) {
        loader.Disconnect();
        loader.Unload();
    }
    return exit_status;
}

}  // namespace kavrel::host
