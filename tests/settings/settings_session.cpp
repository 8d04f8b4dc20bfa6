#include "tests/settings/settings_session.h"

#include <cstring>
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "tests/support/window_finder.h"
#include "base/handle_casts.h"

namespace settings_test {
namespace {

using kavrel::ComPtr;
using kavrel::testing::FindChildByClass;
using kavrel::testing::FindControl;

struct Key {
    const char16_t* key;
    std::u16string kavrel::MarkSettings::*setting;
};
constexpr Key kKeys[] = {
    {u"kavreleditor_pstyle", &kavrel::MarkSettings::PointStyle},
    {u"kavreleditor_tstyle", &kavrel::MarkSettings::TextStyle},
    {u"kavreleditor_rstyle", &kavrel::MarkSettings::RailStyle},
    {u"kavreleditor_rtstyle", &kavrel::MarkSettings::RailTextStyle},
    {u"kavreleditor_tfield", &kavrel::MarkSettings::HeightField},
    {u"kavreleditor_rlstyle", &kavrel::MarkSettings::RailLineStyle},
};

HMODULE g_addon = nullptr;

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

// The add-on as an installer leaves it: registered, then created by its class.
class AddonEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        g_addon = LoadLibraryW(L"Z:" KAVREL_DLL_PATH_W);
        ASSERT_NE(g_addon, nullptr);
        auto* register_server =
            kavrel::ProcAddress<HRESULT(__stdcall*)()>(g_addon, "DllRegisterServer");
        ASSERT_NE(register_server, nullptr);
        ASSERT_EQ(register_server(), S_OK);
        InitCommonControls();
    }
};
[[maybe_unused]] ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new AddonEnvironment);

// A step that fails ends the test's case, not the run: its dialog is closed.
void Guarded(const Step& step, HWND dialog) {
    try {
        step(dialog);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "a step failed: " << e.what();
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
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

HWND Tree(HWND picker) {
    return FindControl(picker, "trv1");
}

}  // namespace

kavrel::MarkSettings StoredSettings(const FakeHost& host) {
    kavrel::MarkSettings settings;
    for (const Key& k : kKeys) {
        const auto found = host.preferences.find(k.key);
        settings.*k.setting = found == host.preferences.end() ? u"<не записано>" : found->second;
    }
    return settings;
}

void StoreSettings(FakeHost& host, const kavrel::MarkSettings& settings) {
    for (const Key& k : kKeys) {
        host.preferences[k.key] = settings.*k.setting;
    }
}

Outcome RunSettingsSession(FakeHost& host, Step setup, std::deque<Step> pickers,
                           std::function<void()> before_settings) {
    Outcome outcome;
    // Armed for the whole session: a message box nobody expects is answered
    // and recorded rather than left waiting.
    kavrel::testing::DialogWatcher watcher;
    watcher.OnWindow(L"TfKavrelSetup", [&](HWND dialog) {
        ++outcome.setupShown;
        Guarded(setup, dialog);
    });
    watcher.OnWindow(L"TfSelectStyle", [&](HWND picker) {
        ++outcome.pickerShown;
        if (pickers.empty()) {
            ADD_FAILURE() << "a style picker came up that the test did not expect";
            Click(picker, "Button2");
            return;
        }
        const Step step = std::move(pickers.front());
        pickers.pop_front();
        Guarded(step, picker);
    });

    ComPtr<IHostAddOn> addon;
    if (FAILED(CoCreateInstance(kavrel::kAddonClassId, nullptr, CLSCTX_INPROC_SERVER,
                                __uuidof(IHostAddOn), addon.put_void()))) {
        throw std::runtime_error("the add-on cannot be created");
    }
    if (FAILED(addon->Connect(host.Unknown()))) {
        throw std::runtime_error("the add-on does not connect");
    }
    {
        ComPtr<IM2MacroAttrsList> commands;
        if (FAILED(addon->GetMacroAttrs(commands.put()))) {
            throw std::runtime_error("the add-on gives no command list");
        }
    }
    if (FAILED(addon->ExecuteMacro(2, 0))) {
        throw std::runtime_error("the correction command fails");
    }
    const HWND panel = FindChildByClass(host.TaskPanelWindow(), L"TfKavrelEditor");
    if (!panel) {
        throw std::runtime_error("the editor panel did not open");
    }
    if (before_settings) {
        before_settings();
    }
    Click(panel, "Button2");  // "Настройка...": returns when the dialog is closed
    EXPECT_TRUE(pickers.empty()) << pickers.size() << " picker steps were not used";
    Click(panel, "Button1");  // "Закрыть": the panel saves its settings as it goes
    for (int i = 0; i < 100 && IsWindow(panel); ++i) {
        Pump();
        Sleep(5);
    }
    if (IsWindow(panel)) {
        throw std::runtime_error("the editor panel did not close");
    }
    outcome.messages = watcher.MessageBoxes();
    DropPending();  // nothing of this session may run in the next
    addon->Disconnect();
    addon.reset();
    outcome.settings = StoredSettings(host);
    outcome.liveHostObjects = LiveObjects();
    return outcome;
}

void RunLater(std::function<void()> work) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, &RunPending);
    if (!timer) {
        throw std::runtime_error("cannot arm a timer");
    }
    Pending()[timer] = std::move(work);
}

void Click(HWND dialog, const char* control) {
    const HWND button = FindControl(dialog, control);
    if (!button) {
        throw std::runtime_error(std::string("no control ") + control);
    }
    SendMessageW(button, BM_CLICK, 0, 0);
}

std::wstring TextOf(HWND dialog, const char* control) {
    return kavrel::testing::TextOf(FindControl(dialog, control));
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

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::vector<Node> TreeNodes(HWND picker) {
    std::vector<Node> nodes;
    const HWND tree = Tree(picker);
    Walk(tree, Next(tree, nullptr, TVGN_ROOT), 0, nodes);
    return nodes;
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
    Pump();
}

}  // namespace settings_test
