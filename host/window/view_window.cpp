#include "host/window/view_window.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstdio>
#include <stdexcept>

#include "base/errors.h"
#include "base/file_bytes.h"
#include "base/wide.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"
#include "host/com/window_guard.h"
#include "host/model/number_format.h"
#include "host/model/project_file.h"

namespace kavrel::host {
namespace {

constexpr UINT_PTR kSubclassId = 0x4B57;

// Host objects that stand for one map object of the model: while the add-on
// holds one of them, the model must not be replaced under it.
constexpr const char* kObjectInterfaces[] = {
    "IHostMapObject", "IHostSemantics",   "IHostShapes",      "IHostShape",
    "IHostContour",   "IHostContourPart", "IHostQueryCursor",
};

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Coordinate(double value, char16_t separator) {
    wchar_t text[64];
    swprintf(text, 64, L"%.2f", value);
    for (wchar_t* c = text; *c; ++c) {
        if (*c == L'.' || *c == L',') {
            *c = static_cast<wchar_t>(separator);
        }
    }
    return text;
}

}  // namespace

ViewWindow::ViewWindow(HostContext& host, std::vector<ViewCommand> commands,
                       std::function<HRESULT(LONG)> execute, std::wstring project_path)
    : host_(host),
      commands_(std::move(commands)),
      execute_(std::move(execute)),
      project_path_(std::move(project_path)) {
    HWND window = host_.main_window();
    HMENU bar = BuildMenuBar(commands_);
    if (!SetMenu(window, bar)) {
        DestroyMenu(bar);
        throw std::runtime_error("cannot set the menu bar");
    }
    toolbar_ = WindowHandle(CreateCommandToolbar(window, commands_, button_images_));
    status_ = WindowHandle(CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                                           WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0,
                                           window, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!status_.get()) {
        throw std::runtime_error("cannot create the status bar");
    }
    const int parts[] = {170, 430, -1};
    SendMessageW(status_.get(), SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    map_view_ = std::make_unique<MapView>(host_, [this] { UpdateStatus(); });
    if (!SetWindowSubclass(window, Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        throw std::runtime_error("cannot take over the main window");
    }
    // The toolbar and status bar take their places; the map fills the rest.
    SendMessageW(window, WM_SIZE, 0, 0);
    UpdateCaption();
    UpdateStatus();
}

ViewWindow::~ViewWindow() {
    HWND window = host_.main_window();
    if (IsWindow(window)) {
        RemoveWindowSubclass(window, Procedure, kSubclassId);
    }
    map_view_.reset();
    toolbar_.reset();  // before the bitmaps it shows
    status_.reset();
}

HWND ViewWindow::main() const {
    return host_.main_window();
}

std::optional<std::wstring> ViewWindow::OpenProject(const std::wstring& path) {
    for (const char* name : kObjectInterfaces) {
        if (host_.accounting().References(name) > 0) {
            return L"Проект нельзя открыть: надстройка ещё держит объекты текущего проекта.";
        }
    }
    const auto text = ReadFileBytes(path);
    if (!text) {
        return L"Не удаётся прочитать файл " + path;
    }
    MapModel model;
    try {
        model = LoadProject(*text);
    } catch (const ProjectError& e) {
        return L"Файл " + path + L" не является проектом:\n" + WindowsString(Utf8ToWide(e.what()));
    }
    host_.model() = std::move(model);
    project_path_ = path;
    map_view_->Reset();
    UpdateCaption();
    UpdateStatus();
    return std::nullopt;
}

std::optional<std::wstring> ViewWindow::SaveProjectAs(const std::wstring& path) {
    if (!WriteFileBytes(path, SaveProject(host_.model()))) {
        return L"Не удаётся записать файл " + path;
    }
    project_path_ = path;
    UpdateCaption();
    UpdateStatus();
    return std::nullopt;
}

void ViewWindow::UpdateStatus() {
    const std::wstring selected = L"Выделено: " + std::to_wstring(host_.model().selection.size());
    std::wstring where;
    if (map_view_ && map_view_->has_cursor()) {
        const MapPoint at = map_view_->cursor();
        where = L"X: " + Coordinate(at.x, host_.decimal_separator()) + L"   Y: " +
                Coordinate(at.y, host_.decimal_separator());
    }
    const std::wstring file = FileNameOf(project_path_);
    SendMessageW(status_.get(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(selected.c_str()));
    SendMessageW(status_.get(), SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(where.c_str()));
    SendMessageW(status_.get(), SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(file.c_str()));
}

void ViewWindow::UpdateCaption() {
    const std::wstring caption = project_path_.empty()
                                     ? L"KAVREL MapHost"
                                     : FileNameOf(project_path_) + L" — KAVREL MapHost";
    SetWindowTextW(host_.main_window(), caption.c_str());
}

void ViewWindow::ShowError(const std::wstring& text) {
    MessageBoxW(host_.main_window(), text.c_str(), L"KAVREL MapHost", MB_OK | MB_ICONERROR);
}

void ViewWindow::RunAddonCommand(std::size_t position) {
    const std::size_t errors_before = host_.reported_errors().size();
    const std::size_t panels_before = host_.TaskPanels().size();
    const HRESULT status = execute_ ? execute_(commands_[position].id) : E_FAIL;
    // A task panel that a command asked for appears docked, as the host's
    // panels do; later the add-on shows and hides it itself.
    const auto panels = host_.TaskPanels();
    for (std::size_t i = panels_before; i < panels.size(); ++i) {
        ShowWindow(panels[i]->window(), SW_SHOW);
    }
    if (FAILED(status)) {
        std::wstring text =
            L"Команда «" + WindowsString(commands_[position].caption) + L"» не выполнена.";
        if (host_.reported_errors().size() > errors_before) {
            text += L"\n" + WindowsString(host_.reported_errors().back().message);
        }
        ShowError(text);
    }
    // Whatever the command changed is painted.
    InvalidateRect(host_.map_window(), nullptr, FALSE);
    UpdateStatus();
}

void ViewWindow::ChooseAndOpen() {
    wchar_t path[MAX_PATH] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = host_.main_window();
    dialog.lpstrFilter = L"Проекты (*.json)\0*.json\0Все файлы\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = L"Открыть проект";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (GetOpenFileNameW(&dialog)) {
        if (const auto error = OpenProject(path)) {
            ShowError(*error);
        }
    }
}

void ViewWindow::ChooseAndSave() {
    wchar_t path[MAX_PATH] = {};
    lstrcpynW(path, project_path_.c_str(), MAX_PATH);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = host_.main_window();
    dialog.lpstrFilter = L"Проекты (*.json)\0*.json\0Все файлы\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = L"json";
    dialog.lpstrTitle = L"Сохранить проект как";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (GetSaveFileNameW(&dialog)) {
        if (const auto error = SaveProjectAs(path)) {
            ShowError(*error);
        }
    }
}

// A menu or toolbar command is the user's own action: one that fails is shown
// to the user, as the host's other errors are.
void ViewWindow::Command(UINT item) {
    try {
        RunCommand(item);
    } catch (...) {
        ShowError(WindowsString(CurrentExceptionMessage()));
    }
}

void ViewWindow::RunCommand(UINT item) {
    switch (item) {
        case kOpenProjectItem:
            ChooseAndOpen();
            return;
        case kSaveProjectItem:
            if (project_path_.empty()) {
                ChooseAndSave();
            } else if (const auto error = SaveProjectAs(project_path_)) {
                ShowError(*error);
            }
            return;
        case kSaveProjectAsItem:
            ChooseAndSave();
            return;
        case kExitItem:
            if (on_exit) {
                on_exit();
            }
            return;
        case kShowAllItem:
            map_view_->ShowAll();
            return;
        case kClearSelectionItem:
            host_.model().selection.clear();
            InvalidateRect(host_.map_window(), nullptr, FALSE);
            UpdateStatus();
            return;
        default:
            if (item >= kFirstCommandItem && item - kFirstCommandItem < commands_.size()) {
                RunAddonCommand(item - kFirstCommandItem);
            }
            return;
    }
}

LRESULT ViewWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND window = host_.main_window();
    switch (message) {
        case WM_COMMAND:
            if (lparam == 0 || reinterpret_cast<HWND>(lparam) == toolbar_.get()) {
                Command(LOWORD(wparam));
                return 0;
            }
            break;
        case WM_CLOSE:
            if (on_exit) {
                on_exit();
            }
            return 0;
        case WM_SIZE: {
            const LRESULT result = DefSubclassProc(window, message, wparam, lparam);
            InvalidateRect(host_.map_window(), nullptr, FALSE);
            return result;
        }
        default:
            break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

LRESULT CALLBACK ViewWindow::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR, DWORD_PTR self) noexcept {
    return GuardedSubclassProc(window, message, wparam, lparam, [&] {
        return reinterpret_cast<ViewWindow*>(self)->Handle(message, wparam, lparam);
    });
}

}  // namespace kavrel::host
