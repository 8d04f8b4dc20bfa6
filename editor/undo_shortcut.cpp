#include "editor/undo_shortcut.h"

#include <commctrl.h>

#include <stdexcept>

namespace kavrel {
namespace {

constexpr UINT_PTR kSubclassId = 0x5A;  // 'Z'
// The character Ctrl+Z makes; an edit would take it as its own undo of typing.
constexpr WPARAM kCtrlZCharacter = 0x1A;

bool KeyDown(int key) {
    return (GetKeyState(key) & 0x8000) != 0;
}

LRESULT CALLBACK UndoShortcut(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                              DWORD_PTR button) noexcept {
    if (message == WM_KEYDOWN && wParam == 'Z' && KeyDown(VK_CONTROL) && !KeyDown(VK_MENU) &&
        !KeyDown(VK_SHIFT)) {
        const HWND undo = reinterpret_cast<HWND>(button);
        SendMessageW(GetParent(undo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(undo), BN_CLICKED),
                     reinterpret_cast<LPARAM>(undo));
        return 0;
    }
    if (message == WM_CHAR && wParam == kCtrlZCharacter) {
        return 0;
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, UndoShortcut, id);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

void Install(HWND window, HWND undo_button) {
    if (!SetWindowSubclass(window, UndoShortcut, kSubclassId,
                           reinterpret_cast<DWORD_PTR>(undo_button))) {
        throw std::runtime_error("cannot give the panel its undo shortcut");
    }
    for (HWND inner = GetWindow(window, GW_CHILD); inner; inner = GetWindow(inner, GW_HWNDNEXT)) {
        Install(inner, undo_button);
    }
}

}  // namespace

void InstallUndoShortcut(HWND panel, HWND undo_button) {
    Install(panel, undo_button);
}

}  // namespace kavrel
