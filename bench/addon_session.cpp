#include "bench/addon_session.h"

#include <stdexcept>

#include "base/handle_casts.h"
#include "base/wide.h"
#include "tests/support/dialog_watcher.h"
#include "tests/support/window_finder.h"

namespace kavrel::bench {
namespace {

void Check(HRESULT status, const char* what) {
    if (FAILED(status)) {
        char text[160];
        wsprintfA(text, "%s failed: 0x%08lX", what, static_cast<unsigned long>(status));
        throw std::runtime_error(text);
    }
}

}  // namespace

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequency;
}

DecimalSeparatorScope::DecimalSeparatorScope(wchar_t separator) {
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, previous_, 8);
    const wchar_t wanted[2] = {separator, 0};
    if (!SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, wanted)) {
        throw std::runtime_error("the regional decimal separator could not be set");
    }
    changed_ = true;
}

DecimalSeparatorScope::~DecimalSeparatorScope() {
    if (changed_) {
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, previous_);
    }
}

AddonSession::AddonSession(const std::wstring& dll_path, host::HostContext& host)
    : dll_path_(dll_path), host_(host) {}

AddonSession::~AddonSession() {
    if (addon_) {
        if (Panel()) {
            testing::DialogWatcher watcher;
            SendMessageW(Control("Button1"), BM_CLICK, 0, 0);
            Pump();
        }
        addon_->Disconnect();
        addon_.reset();
    }
    Pump();
    if (module_) {
        FreeLibrary(module_);
    }
}

double AddonSession::LoadAndConnect() {
    const double start = Now();
    module_ = LoadLibraryW(dll_path_.c_str());
    if (!module_) {
        throw std::runtime_error("kavrel.dll did not load: " + WideToUtf8(dll_path_));
    }
    using GetClassObject = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
    const auto get_class_object = ProcAddress<GetClassObject>(module_, "DllGetClassObject");
    if (!get_class_object) {
        throw std::runtime_error("kavrel.dll exports no DllGetClassObject");
    }
    ComPtr<IClassFactory> factory;
    Check(get_class_object(kAddonClassId, IID_IClassFactory, factory.put_void()),
          "DllGetClassObject");
    Check(factory->CreateInstance(nullptr, __uuidof(IHostAddOn), addon_.put_void()),
          "CreateInstance");
    Check(addon_->Connect(host_.HostObject()), "IHostAddOn.Connect");
    ComPtr<IM2MacroAttrsList> commands;
    Check(addon_->GetMacroAttrs(commands.put()), "IHostAddOn.GetMacroAttrs");
    return Now() - start;
}

double AddonSession::OpenPanel() {
    testing::DialogWatcher watcher;
    const double start = Now();
    Check(addon_->ExecuteMacro(2, 0), "IHostAddOn.ExecuteMacro(2)");
    Pump();
    const double seconds = Now() - start;
    if (!watcher.MessageBoxes().empty()) {
        throw std::runtime_error("opening the panel showed: " +
                                 WideToUtf8(watcher.MessageBoxes().front().text));
    }
    if (!Panel()) {
        throw std::runtime_error("command 2 opened no panel");
    }
    return seconds;
}

std::vector<std::wstring> AddonSession::Click(const char* control) {
    const HWND button = Control(control);
    testing::DialogWatcher watcher;
    SendMessageW(button, BM_CLICK, 0, 0);
    Pump();
    std::vector<std::wstring> texts;
    for (const auto& box : watcher.MessageBoxes()) {
        texts.push_back(box.text);
    }
    return texts;
}

void AddonSession::SetChecked(const char* control, bool checked) {
    const HWND box = Control(control);
    if ((SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != checked) {
        SendMessageW(box, BM_CLICK, 0, 0);
    }
}

HWND AddonSession::Panel() const {
    const HWND dock = host_.TaskPanelWindow(u"KAVREL");
    return dock ? testing::FindChildByClass(dock, L"TfKavrelEditor") : nullptr;
}

HWND AddonSession::Control(const char* name) const {
    const HWND control = testing::FindControl(Panel(), name);
    if (!control) {
        throw std::runtime_error(std::string("no control ") + name + " on the panel");
    }
    return control;
}

void AddonSession::Pump() {
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

}  // namespace kavrel::bench
