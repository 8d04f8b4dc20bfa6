#include "tests/settings/settings_fixture.h"

#include <commctrl.h>

#include <cstring>
#include <map>
#include <stdexcept>

#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {
namespace {

using testing::FindControl;

struct Key {
    const char16_t* key;
    std::u16string MarkSettings::*setting;
};
constexpr Key kKeys[] = {
    {u"kavreleditor_pstyle", &MarkSettings::PointStyle},
    {u"kavreleditor_tstyle", &MarkSettings::TextStyle},
    {u"kavreleditor_rstyle", &MarkSettings::RailStyle},
    {u"kavreleditor_rtstyle", &MarkSettings::RailTextStyle},
    {u"kavreleditor_tfield", &MarkSettings::HeightField},
    {u"kavreleditor_rlstyle", &MarkSettings::RailLineStyle},
    {u"kavreleditor_labelheight", &MarkSettings::LabelHeight},
};

using Preferences = std::map<std::u16string, std::u16string>;

void StoreSettings(Preferences& store, const MarkSettings& settings) {
    for (const Key& k : kKeys) {
        store[k.key] = settings.*k.setting;
    }
}

MarkSettings StoredSettings(const Preferences& store) {
    MarkSettings settings;
    for (const Key& k : kKeys) {
        const auto found = store.find(k.key);
        settings.*k.setting = found == store.end() ? u"<не записано>" : found->second;
    }
    return settings;
}

long HeldReferences(const host::Accounting& accounting) {
    long held = 0;
    for (const auto& [name, count] : accounting.OutstandingReferences()) {
        held += name == "IHostApplication" ? count - 1 : count;
    }
    return held;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Work to run once the running modal loop has had its turn.
std::map<UINT_PTR, std::function<void()>>& Pending() {
    static std::map<UINT_PTR, std::function<void()>> pending;
    return pending;
}

void CALLBACK RunPending(HWND, UINT, UINT_PTR timer, DWORD) noexcept {
    KillTimer(nullptr, timer);
    auto found = Pending().find(timer);
    if (found == Pending().end()) {
        return;
    }
    const std::function<void()> work = std::move(found->second);
    Pending().erase(found);
    try {
        work();
    } catch (const std::exception& e) {
        ADD_FAILURE() << e.what();
    }
}

void DropPending() {
    for (const auto& [timer, work] : Pending()) {
        KillTimer(nullptr, timer);
    }
    Pending().clear();
}

// A step that fails ends the test's case, not the run: its dialog is closed.
void Guarded(const Step& step, HWND dialog) {
    try {
        step(dialog);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "a step failed: " << e.what();
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
}

HWND Tree(HWND picker) {
    return FindControl(picker, "trv1");
}

HTREEITEM Next(HWND tree, HTREEITEM item, UINT how) {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(item)));
}

std::wstring ItemText(HWND tree, HTREEITEM item) {
    std::wstring text(1024, L'\0');
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text.data();
    data.cchTextMax = static_cast<int>(text.size());
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    text.resize(wcslen(text.c_str()));
    return text;
}

void Walk(HWND tree, HTREEITEM first, int level, std::vector<Node>& out) {
    for (HTREEITEM item = first; item; item = Next(tree, item, TVGN_NEXT)) {
        out.push_back({level, ItemText(tree, item)});
        Walk(tree, Next(tree, item, TVGN_CHILD), level + 1, out);
    }
}

HTREEITEM FindNode(HWND picker, const std::vector<std::wstring>& path) {
    const HWND tree = Tree(picker);
    HTREEITEM item = Next(tree, nullptr, TVGN_ROOT);
    HTREEITEM found = nullptr;
    for (const std::wstring& text : path) {
        while (item && ItemText(tree, item) != text) {
            item = Next(tree, item, TVGN_NEXT);
        }
        if (!item) {
            throw std::runtime_error("no such node in the picker's tree");
        }
        found = item;
        item = Next(tree, item, TVGN_CHILD);
    }
    return found;
}

}  // namespace

Outcome SettingsTest::Session(const std::string& project_json, const MarkSettings& settings,
                              Step setup, std::deque<Step> pickers,
                              std::function<void()> before_settings) {
    Outcome outcome;
    StartHost(project_json);
    if (HasFatalFailure()) {
        return outcome;
    }
    StoreSettings(Model().preferences, settings);
    ConnectAddon();
    if (!HasFatalFailure()) {
        OpenPanel();
    }
    if (HasFatalFailure()) {
        return outcome;
    }
    if (before_settings) {
        before_settings();
    }
    {
        testing::DialogWatcher watcher;
        watcher.OnWindow(L"TfKavrelSetup", [&](HWND dialog) {
            ++outcome.setupShown;
            Guarded(setup, dialog);
        });
        watcher.OnWindow(L"TfSelectStyle", [&](HWND picker) {
            ++outcome.pickerShown;
            if (pickers.empty()) {
                ADD_FAILURE() << "a style picker came up that the test did not expect";
                Press(picker, "Button2");
                return;
            }
            const Step step = std::move(pickers.front());
            pickers.pop_front();
            Guarded(step, picker);
        });
        // "Настройка...": returns when the dialog is closed.
        SendMessageW(Control("Button2"), BM_CLICK, 0, 0);
        for (const auto& box : watcher.MessageBoxes()) {
            outcome.messages.push_back(box.text);
        }
    }
    DropPending();  // nothing of this session may run in the next
    EXPECT_TRUE(pickers.empty()) << pickers.size() << " picker steps were not used";
    for (std::wstring& text : ClosePanel()) {  // the panel saves its settings as it goes
        outcome.messages.push_back(std::move(text));
    }
    EXPECT_EQ(Panel(), nullptr) << "the editor panel did not close";
    outcome.settings = StoredSettings(Model().preferences);
    EXPECT_EQ(addon_->Disconnect(), S_OK);
    addon_.reset();
    outcome.heldHostReferences = HeldReferences(host_->accounting());
    StopHost();
    return outcome;
}

void RunLater(std::function<void()> work) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &RunPending);
    if (!timer) {
        throw std::runtime_error("cannot arm a timer");
    }
    Pending()[timer] = std::move(work);
}

void Press(HWND dialog, const char* control) {
    const HWND button = FindControl(dialog, control);
    if (!button) {
        throw std::runtime_error(std::string("no control ") + control);
    }
    SendMessageW(button, BM_CLICK, 0, 0);
}

std::wstring ControlText(HWND dialog, const char* control) {
    return testing::TextOf(FindControl(dialog, control));
}

void TypeInto(HWND dialog, const char* combo, const std::wstring& text) {
    const HWND edit = GetWindow(FindControl(dialog, combo), GW_CHILD);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, WM_CHAR, VK_BACK, 0);
    for (wchar_t ch : text) {
        SendMessageW(edit, WM_CHAR, ch, 1);
    }
}

std::vector<std::wstring> ComboItems(HWND dialog, const char* combo) {
    const HWND box = FindControl(dialog, combo);
    std::vector<std::wstring> items;
    const LRESULT count = SendMessageW(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring item(static_cast<std::size_t>(SendMessageW(box, CB_GETLBTEXTLEN, i, 0)),
                          L'\0');
        SendMessageW(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        items.push_back(item);
    }
    return items;
}

std::vector<Node> TreeNodes(HWND picker) {
    std::vector<Node> nodes;
    const HWND tree = Tree(picker);
    Walk(tree, Next(tree, nullptr, TVGN_ROOT), 0, nodes);
    return nodes;
}

std::vector<std::wstring> SelectedPath(HWND picker) {
    const HWND tree = Tree(picker);
    std::vector<std::wstring> path;
    for (HTREEITEM item = Next(tree, nullptr, TVGN_CARET); item;
         item = Next(tree, item, TVGN_PARENT)) {
        path.insert(path.begin(), ItemText(tree, item));
    }
    return path;
}

void SelectNode(HWND picker, const std::vector<std::wstring>& path) {
    SendMessageW(Tree(picker), TVM_SELECTITEM, TVGN_CARET,
                 reinterpret_cast<LPARAM>(FindNode(picker, path)));
}

bool Expanded(HWND picker, const std::vector<std::wstring>& path) {
    return (SendMessageW(Tree(picker), TVM_GETITEMSTATE,
                         reinterpret_cast<WPARAM>(FindNode(picker, path)), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
}

void DoubleClickNode(HWND picker, const std::vector<std::wstring>& path) {
    const HWND tree = Tree(picker);
    const HTREEITEM item = FindNode(picker, path);
    SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT rect{};
    std::memcpy(&rect, &item, sizeof item);
    if (!SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) {
        throw std::runtime_error("the node is not on screen");
    }
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(tree, WM_LBUTTONUP, 0, at);
    PostMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageW(tree, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

}  // namespace kavrel::test
