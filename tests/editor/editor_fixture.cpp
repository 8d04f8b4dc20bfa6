#include "tests/editor/editor_fixture.h"

#include <stdexcept>

#include "base/handle_casts.h"
#include "base/utf8.h"
#include "host/model/project_file.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::test {

const char kMarkPreferences[] = R"({
    "kavreleditor_pstyle": "SP", "kavreleditor_tstyle": "ST",
    "kavreleditor_rstyle": "SR", "kavreleditor_rtstyle": "SRT",
    "kavreleditor_tfield": "A.H", "kavreleditor_rlstyle": "RL"})";

std::string MarkProject(const std::string& objects_json, const std::string& preferences_json,
                        const std::string& selection_json) {
    return R"({
  "maps": [ {"id": "M1", "name": "План", "layers": ["L1", "LR"]} ],
  "layers": [
    {"id": "L1", "name": "Рельеф",
     "tables": [ {"name": "A", "fields": ["H", "N"]} ],
     "styles": [ {"id": "SP", "name": "Точка", "kind": "point"},
                 {"id": "ST", "name": "Подпись", "kind": "text", "text": "{A.H}"},
                 {"id": "SR", "name": "Рельс отметки", "kind": "line"},
                 {"id": "SRT", "name": "Подпись рельса", "kind": "text", "text": "{A.H}"},
                 {"id": "SX", "name": "Прочее", "kind": "line"} ]},
    {"id": "LR", "name": "Железная дорога",
     "tables": [],
     "styles": [ {"id": "RL", "name": "Рельс", "kind": "line"} ]}
  ],
  "objects": )" +
           objects_json +
           R"(,
  "selection": )" +
           selection_json +
           R"(,
  "preferences": )" +
           preferences_json + "\n}";
}

void EditorTest::StartHost(const std::string& project_json, wchar_t decimal) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, previous_decimal_, 8);
    const wchar_t wanted[2] = {decimal, 0};
    ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, wanted));
    locale_changed_ = true;
    host_ = std::make_unique<host::HostContext>(host::LoadProject(project_json),
                                                static_cast<char16_t>(decimal));
}

void EditorTest::ConnectAddon() {
    module_ = LoadLibraryW(KAVREL_DLL_PATH_W);
    ASSERT_NE(module_, nullptr) << "kavrel.dll did not load";
    using GetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
    const auto get_class_object = ProcAddress<GetClassObject>(module_, "DllGetClassObject");
    ASSERT_NE(get_class_object, nullptr);
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(get_class_object(kAddonClassId, IID_IClassFactory, factory.put_void()), S_OK);
    ASSERT_EQ(factory->CreateInstance(nullptr, __uuidof(IHostAddOn), addon_.put_void()), S_OK);
    ASSERT_EQ(addon_->Connect(host_->HostObject()), S_OK);
    ComPtr<IM2MacroAttrsList> commands;
    ASSERT_EQ(addon_->GetMacroAttrs(commands.put()), S_OK);
}

void EditorTest::OpenPanel() {
    testing::DialogWatcher watcher;
    ASSERT_EQ(addon_->ExecuteMacro(2, 0), S_OK);
    for (const auto& box : watcher.MessageBoxes()) {
        connect_messages_.push_back(box.text);
    }
    ASSERT_NE(Panel(), nullptr) << "command 2 opened no panel";
}

void EditorTest::OpenPanelOn(const std::string& project_json, wchar_t decimal) {
    StartHost(project_json, decimal);
    ConnectAddon();
    OpenPanel();
}

void EditorTest::TearDown() {
    StopHost();
}

void EditorTest::StopHost() {
    if (addon_) {
        if (Panel()) {
            ClosePanel();
        }
        addon_->Disconnect();
        addon_.reset();
    }
    Pump();
    if (module_) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
    host_.reset();
    if (locale_changed_) {
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, previous_decimal_);
        locale_changed_ = false;
        CoUninitialize();
        locale_changed_ = false;
    }
}

HWND EditorTest::Panel() const {
    if (!host_) {
        return nullptr;
    }
    const HWND dock = host_->TaskPanelWindow(u"KAVREL");
    return dock ? testing::FindChildByClass(dock, L"TfKavrelEditor") : nullptr;
}

HWND EditorTest::Control(const char* name) const {
    const HWND control = testing::FindControl(Panel(), name);
    if (!control) {
        throw std::runtime_error(std::string("no control ") + name + " on the panel");
    }
    return control;
}

std::wstring EditorTest::Text(const char* name) const {
    return testing::TextOf(Control(name));
}

bool EditorTest::Checked(const char* name) const {
    return SendMessageW(Control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::vector<std::wstring> EditorTest::Click(const char* name) {
    testing::DialogWatcher watcher;
    SendMessageW(Control(name), BM_CLICK, 0, 0);
    Pump();
    return watcher.MessageTexts();
}

void EditorTest::SetText(const char* name, const std::wstring& text) {
    SendMessageW(Control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void EditorTest::SetChecked(const char* name, bool checked) {
    if (Checked(name) != checked) {
        SendMessageW(Control(name), BM_CLICK, 0, 0);
    }
}

std::vector<std::wstring> EditorTest::ClosePanel() {
    std::vector<std::wstring> texts = Click("Button1");
    testing::DialogWatcher watcher;
    Pump();
    for (const auto& box : watcher.MessageBoxes()) {
        texts.push_back(box.text);
    }
    return texts;
}

void EditorTest::Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void EditorTest::Select(std::vector<std::u16string> ids) {
    Model().selection = std::move(ids);
}

const host::ObjectState& EditorTest::Current(const char16_t* id) {
    const host::MapObject* object = Model().FindObject(id);
    if (!object) {
        throw std::runtime_error("no such object");
    }
    return object->current;
}

const host::ObjectState& EditorTest::Committed(const char16_t* id) {
    const host::MapObject* object = Model().FindObject(id);
    if (!object) {
        throw std::runtime_error("no such object");
    }
    return object->CommittedState();
}

std::u16string EditorTest::Preference(const char16_t* key) {
    const auto found = Model().preferences.find(key);
    return found == Model().preferences.end() ? u"<absent>" : found->second;
}

long EditorTest::Calls(const char* operation) const {
    return host_->accounting().CallCount(operation);
}

}  // namespace kavrel::test
