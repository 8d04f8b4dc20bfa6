// The settings dialog and the style picker as the user reaches them: the
// add-on inside the stand-in host (the editor tests' fixture), its panel open,
// and a click on the panel's "Настройка..."; the modal dialogs that opens are
// answered by scripted steps run from inside their modal loops. A session
// starts a host over its own project and ends it, so one test may run several.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "settings/mark_settings.h"
#include "tests/editor/editor_fixture.h"

namespace kavrel::test {

using Step = std::function<void(HWND dialog)>;

struct Outcome {
    MarkSettings settings;               // what the panel saved when it closed
    std::vector<std::wstring> messages;  // message boxes shown, each answered with OK
    int setupShown = 0;                  // TfKavrelSetup windows that came up
    int pickerShown = 0;                 // TfSelectStyle windows that came up
    // References to host objects still held once the add-on disconnected,
    // the application reference it keeps until it is unloaded aside.
    long heldHostReferences = 0;
};

class SettingsTest : public EditorTest {
  protected:
    // One host session over the project with the panel's six settings in the
    // preference store: opens the panel, runs `before_settings`, clicks
    // "Настройка...", runs `setup` in the settings dialog and each of
    // `pickers` in turn in the style pickers that come up, then closes the
    // panel, disconnects and ends the host.
    Outcome Session(const std::string& project_json, const MarkSettings& settings, Step setup,
                    std::deque<Step> pickers = {}, std::function<void()> before_settings = {});
};

// Runs `work` after the modal loop that is running now has handled what is
// waiting (a closing dialog is then gone); dropped when the session ends first.
void RunLater(std::function<void()> work);

// --- acting on the dialogs, as a user does
void Press(HWND dialog, const char* control);
std::wstring ControlText(HWND dialog, const char* control);
// Types into the combo box's edit, replacing its text, one character at a time.
void TypeInto(HWND dialog, const char* combo, const std::wstring& text);
std::vector<std::wstring> ComboItems(HWND dialog, const char* combo);

// The tree of the style picker.
struct Node {
    int level;
    std::wstring text;
    bool operator==(const Node&) const = default;
};
std::vector<Node> TreeNodes(HWND picker);             // every node, display order
std::vector<std::wstring> SelectedPath(HWND picker);  // empty: no selection
void SelectNode(HWND picker, const std::vector<std::wstring>& path);
bool Expanded(HWND picker, const std::vector<std::wstring>& path);
// A mouse double click on the node (its first click selects it).
void DoubleClickNode(HWND picker, const std::vector<std::wstring>& path);

}  // namespace kavrel::test
