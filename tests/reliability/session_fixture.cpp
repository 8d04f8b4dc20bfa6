#include "tests/reliability/session_fixture.h"

#include <algorithm>
#include <sstream>

#include "base/handle_casts.h"
#include "host/model/project_file.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/ui_counts.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {

const char kPlainObjects[] = R"([
  {"id": "P1", "layer": "L1", "values": {"A.H": "100,3"},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[100, 200, 0]]]},
               {"style": "ST", "parts": [[[100.2, 200.2, 5], [100.2, 200.7, 5]]]} ]},
  {"id": "P2", "layer": "L1", "values": {"A.H": "5"},
   "shapes": [ {"style": "SX", "parts": [[[-3, 7, 1], [-2, 8, 1]]]},
               {"style": "SP", "flag": true, "parts": [[[-50, 10, 0]]]},
               {"style": "ST", "parts": [[[-49.8, 10.2, 0], [-49.8, 10.7, 0]]]} ]},
  {"id": "U1", "layer": "L1", "values": {"A.H": "7"},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 1, 0]]]},
               {"style": "ST", "parts": [[[1.2, 1.2, 0], [1.2, 1.7, 0]]]} ]}
])";

const char kRailObjects[] = R"([
  {"id": "R1", "layer": "L1", "values": {"A.H": 12},
   "shapes": [ {"style": "SR", "flag": true, "parts": [[[5.5, 4.5, 0], [5.7, 4.5, 3]]]},
               {"style": "SRT", "parts": [[[5.7, 4.7, 0], [5.7, 5.2, 0]]]} ]},
  {"id": "R2", "layer": "L1", "values": {"A.H": 13},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[3.4, 2.6, 0]]]},
               {"style": "ST", "parts": [[[3.6, 2.8, 0], [3.6, 3.3, 0]]]} ]},
  {"id": "RL1", "layer": "LR", "shapes": [ {"style": "RL", "parts": [[[0, 0, 0], [10, 10, 0]]]} ]},
  {"id": "U1", "layer": "L1", "values": {"A.H": "7"},
   "shapes": [ {"style": "SP", "flag": true, "parts": [[[1, 1, 0]]]},
               {"style": "ST", "parts": [[[1.2, 1.2, 0], [1.2, 1.7, 0]]]} ]}
])";

namespace {

const wchar_t* const kAddonClasses[] = {L"TfKavrelEditor", L"TfKavrelSetup", L"TfSelectStyle",
                                        L"TMainForm"};

BOOL CALLBACK CountAddonWindow(HWND window, LPARAM count) {
    const std::wstring name = testing::ClassNameOf(window);
    for (const wchar_t* addon_class : kAddonClasses) {
        if (name == addon_class) {
            ++*reinterpret_cast<int*>(count);
        }
    }
    EnumChildWindows(window, CountAddonWindow, count);
    return TRUE;
}

// The message boxes QuickClick's hook has answered.
thread_local std::vector<std::wstring>* quick_boxes = nullptr;

LRESULT CALLBACK AnswerMessageBox(int code, WPARAM wparam, LPARAM lparam) noexcept {
    if (code == HCBT_ACTIVATE && quick_boxes) {
        const HWND box = reinterpret_cast<HWND>(wparam);
        if (testing::ClassNameOf(box) == L"#32770") {
            std::wstring text;
            for (HWND child = GetWindow(box, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                if (testing::ClassNameOf(child) == L"Static" &&
                    (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON &&
                    !testing::TextOf(child).empty()) {
                    text = testing::TextOf(child);
                }
            }
            try {
                quick_boxes->push_back(text);
            } catch (...) {
            }
            // The box's own loop takes the answer as soon as it runs.
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

std::string OperationAt(const host::Accounting& accounting, std::size_t index) {
    return index < accounting.log().size() ? accounting.log()[index] : std::string("?");
}

}  // namespace

void SessionTest::TearDown() {
    // Also after a session whose project was refused: the separator was set.
    EditorTest::TearDown();
}

void SessionTest::CreateAddon() {
    module_ = LoadLibraryW(KAVREL_DLL_PATH_W);
    ASSERT_NE(module_, nullptr) << "kavrel.dll did not load";
    using GetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
    const auto get_class_object = ProcAddress<GetClassObject>(module_, "DllGetClassObject");
    ASSERT_NE(get_class_object, nullptr);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(get_class_object(kAddonClassId, IID_IClassFactory, factory.put_void()), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, __uuidof(IHostAddOn), addon_.put_void()), S_OK);
}

void SessionTest::ResetModel(const std::string& project_json) {
    Model() = host::LoadProject(project_json);
}

int SessionTest::AddonWindows() {
    int count = 0;
    // Top-level windows of the thread, and everything below each of them.
    EnumThreadWindows(GetCurrentThreadId(), CountAddonWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

void SessionTest::EndSessionCleanly(const std::string& label) {
    SCOPED_TRACE(label);
    if (addon_) {
        if (Panel()) {
            const auto shown = ClosePanel();
            EXPECT_TRUE(shown.empty()) << "closing the panel showed " << Joined(shown);
        }
        EXPECT_EQ(addon_->Disconnect(), S_OK);
        // The host's reference is the last one: its release frees the object.
        EXPECT_EQ(addon_.Detach()->Release(), 0u) << "the add-on object is still referenced";
    }
    Pump();
    if (module_) {
        // No form is left, so the forms layer holds no window and no GDI object.
        EXPECT_EQ(testing::ReadUiCounts(module_), testing::UiCounts{})
            << testing::Describe(testing::ReadUiCounts(module_));
        using CanUnloadNow = HRESULT(__stdcall*)();
        const auto can_unload = ProcAddress<CanUnloadNow>(module_, "DllCanUnloadNow");
        ASSERT_NE(can_unload, nullptr);
        EXPECT_EQ(can_unload(), S_OK) << "an add-on object is still alive";
        {
            testing::DialogWatcher watcher;
            EXPECT_TRUE(FreeLibrary(module_));
            Pump();
            EXPECT_TRUE(watcher.MessageBoxes().empty()) << "unloading showed a message";
        }
        module_ = nullptr;
        EXPECT_EQ(GetModuleHandleW(KAVREL_DLL_PATH_W), nullptr) << "kavrel.dll is still loaded";
    }
    EXPECT_EQ(AddonWindows(), 0) << "an add-on window outlived the library";
    if (host_) {
        const auto refs = host_->accounting().OutstandingReferences();
        std::ostringstream held;
        for (const auto& [name, count] : refs) {
            held << name << "=" << count << " ";
        }
        EXPECT_TRUE(refs.empty()) << "host references still held: " << held.str();
        const HWND dock = host_->TaskPanelWindow(u"KAVREL");
        EXPECT_EQ(ChildWindows(dock), 0) << "the task panel still holds windows";
    }
    Tally::Sessions(1);
    EditorTest::TearDown();
}

std::vector<std::wstring> SessionTest::Watch(const std::function<void()>& act) {
    testing::DialogWatcher watcher;
    act();
    Pump();
    return watcher.MessageTexts();
}

std::vector<std::wstring> SessionTest::QuickClick(const char* name) {
    std::vector<std::wstring> boxes;
    quick_boxes = &boxes;
    const HHOOK hook = SetWindowsHookExW(WH_CBT, AnswerMessageBox, nullptr, GetCurrentThreadId());
    SendMessageW(Control(name), BM_CLICK, 0, 0);
    Pump();
    UnhookWindowsHookEx(hook);
    quick_boxes = nullptr;
    return boxes;
}

long SessionTest::SweepPanelAction(const std::string& label, const std::string& project_json,
                                   const std::function<std::vector<std::wstring>()>& act,
                                   const std::function<void()>& prepare) {
    SCOPED_TRACE(label);
    host::Accounting& accounting = host_->accounting();
    const auto reset = [&] {
        ResetModel(project_json);
        if (prepare) {
            prepare();
        }
    };
    reset();
    const std::string before = CommittedSnapshot(Model());
    const auto references = accounting.OutstandingReferences();
    const int panel_windows = ChildWindows(Panel());
    const int addon_windows = AddonWindows();
    const int thread_windows = ThreadWindowCount();
    const testing::UiCounts ui_counts = testing::ReadUiCounts(module_);
    EXPECT_GT(ui_counts.form_objects, 0) << "the open panel is not counted: counts not read";
    // A failure path that leaks a form, a window or a GDI object of the forms
    // layer fails here, with the action and the failing call in the trace.
    const auto expect_nothing_leaked = [&] {
        EXPECT_EQ(ThreadWindowCount(), thread_windows) << "windows of the thread";
        const testing::UiCounts now = testing::ReadUiCounts(module_);
        EXPECT_EQ(now, ui_counts) << "forms layer: " << testing::Describe(now) << ", before "
                                  << testing::Describe(ui_counts);
    };

    accounting.set_keep_log(true);
    const std::size_t log_start = accounting.log().size();
    const long calls_start = accounting.TotalCalls();
    auto shown = act();
    accounting.set_keep_log(false);
    EXPECT_TRUE(shown.empty()) << "the clean run showed " << Joined(shown);
    expect_nothing_leaked();
    const long n = accounting.TotalCalls() - calls_start;
    std::vector<long> commits;  // 1-based positions of the commits among the calls
    for (long i = 0; i < n; ++i) {
        if (OperationAt(accounting, log_start + i) == "IHostMapObjects.CommitChanges") {
            commits.push_back(i + 1);
        }
    }
    const std::string after = CommittedSnapshot(Model());

    // The committed state after a failure depends only on how many commits
    // went through before it: none, all, or the same partial state for every
    // failing call between two commits.
    std::map<std::size_t, std::string> partial;
    for (long k = 1; k <= n; ++k) {
        const std::string operation = OperationAt(accounting, log_start + k - 1);
        SCOPED_TRACE("failing call " + std::to_string(k) + " of " + std::to_string(n) + ": " +
                     operation);
        reset();
        const std::u16string description = FaultText(k);
        accounting.ArmFault("*", k, description);
        shown = act();
        if (shown.size() != 1) {
            ADD_FAILURE() << "expected one message, saw " << shown.size() << ": " << Joined(shown);
            if (shown.empty()) {
                return n;  // the fault may still be armed: stop before it poisons the rest
            }
        }
        EXPECT_TRUE(ShowsHostError(shown[0], description)) << Joined(shown);
        EXPECT_EQ(accounting.OutstandingReferences(), references)
            << "references held after the failure";
        EXPECT_EQ(ChildWindows(Panel()), panel_windows);
        EXPECT_EQ(AddonWindows(), addon_windows);
        expect_nothing_leaked();
        const std::size_t done = std::count_if(commits.begin(), commits.end(),
                                               [k](long position) { return position < k; });
        const std::string state = CommittedSnapshot(Model());
        if (done == 0) {
            EXPECT_EQ(state, before) << "changed before any commit";
        } else if (done == commits.size()) {
            EXPECT_EQ(state, after) << "after every commit";
        } else {
            const auto [seen, first] = partial.emplace(done, state);
            EXPECT_EQ(state, seen->second) << "after " << done << " commits";
        }
        // The panel takes the next click as if nothing had happened.
        reset();
        shown = act();
        EXPECT_TRUE(shown.empty()) << "the next click showed " << Joined(shown);
        EXPECT_EQ(CommittedSnapshot(Model()), after) << "the next click";
    }
    Tally::Actions(1);
    Tally::FaultPoints(n);
    return n;
}

}  // namespace kavrel::test
