// Drives the add-on as the GIS host does: creates its COM object, connects
// it to a FakeHost, opens the mark editor panel with command 2 and clicks the
// panel's "Настройка..." button; the modal dialogs that opens are answered by
// scripted steps run from inside their modal loops. The panel's settings are
// read back from the preference store it writes when it is closed.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/com_ptr.h"
#include "gis/host_api.h"
#include "settings/mark_settings.h"
#include "tests/settings/fake_gis.h"
#include "tests/support/dialog_watcher.h"

namespace settings_test {

using Step = std::function<void(HWND dialog)>;

// The six panel settings as the host's preference store holds them.
kavrel::MarkSettings StoredSettings(const FakeHost& host);
void StoreSettings(FakeHost& host, const kavrel::MarkSettings& settings);

struct Outcome {
    kavrel::MarkSettings settings;  // what the panel saved when it closed
    std::vector<kavrel::testing::SeenMessageBox> messages;
    int setupShown = 0;        // TfKavrelSetup windows that came up
    int pickerShown = 0;       // TfSelectStyle windows that came up
    long liveHostObjects = 0;  // host objects still referenced after the add-on disconnected
};

// One host session: opens the panel, clicks "Настройка...", runs `setup` in
// the settings dialog and each of `pickers` in turn in the style pickers that
// come up, closes the panel and disconnects. `before_settings` runs once the
// panel is open, before "Настройка..." is clicked.
Outcome RunSettingsSession(FakeHost& host, Step setup, std::deque<Step> pickers = {},
                           std::function<void()> before_settings = {});

// Runs `work` after the modal loop that is running now has handled what is
// waiting (a closing dialog is then gone); dropped when the session ends first.
void RunLater(std::function<void()> work);

// --- acting on the dialogs, as a user does
void Click(HWND dialog, const char* control);
std::wstring TextOf(HWND dialog, const char* control);
// Types into the combo box's edit, replacing its text, one character at a time.
void TypeInto(HWND dialog, const char* combo, const std::wstring& text);
std::vector<std::wstring> ComboItems(HWND dialog, const char* combo);
// Dispatches what is waiting in the thread's queue.
void Pump();

// The tree of the style picker.
struct Node {
    int level;
    std::wstring text;
    bool operator==(const Node&) const = default;
};
std::vector<Node> TreeNodes(HWND picker);  // every node, display order
HTREEITEM FindNode(HWND picker, const std::vector<std::wstring>& path);
std::vector<std::wstring> SelectedPath(HWND picker);  // empty: no selection
void SelectNode(HWND picker, const std::vector<std::wstring>& path);
bool Expanded(HWND picker, const std::vector<std::wstring>& path);
// A mouse double click on the node (its first click selects it).
void DoubleClickNode(HWND picker, const std::vector<std::wstring>& path);

}  // namespace settings_test
