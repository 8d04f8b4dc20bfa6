#include "host/session/addon_loader.h"

#include <cstring>

#include "base/guid_text.h"
#include "base/handle_casts.h"
#include "base/reg_key.h"
#include "base/wide.h"
#include "host/com/host_context.h"
#include "host/session/session_error.h"

namespace kavrel::host {
namespace {

std::string StatusText(HRESULT status) {
    char text[16];
    wsprintfA(text, "0x%08lX", static_cast<unsigned long>(status));
    return text;
}

// The InprocServer32 path registered for the add-on's class.
std::wstring RegisteredServerPath() {
    const std::wstring key_path =
        L"CLSID\\" + WindowsString(GuidText(kAddonClassId)) + L"\\InprocServer32";
    RegKey key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key_path.c_str(), 0, KEY_READ, key.put()) !=
        ERROR_SUCCESS) {
        throw StepFailure("the add-on class is not registered (no HKCR\\" + WideToUtf8(key_path) +
                          ")");
    }
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof path - sizeof(wchar_t);
    DWORD type = 0;
    if (RegQueryValueExW(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path),
                         &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        throw StepFailure("the add-on's InprocServer32 key has no path");
    }
    return path;
}

}  // namespace

AddonLoader::AddonLoader(HostContext& host, std::optional<std::wstring> dll_path)
    : host_(host), dll_path_(std::move(dll_path)) {}

AddonLoader::~AddonLoader() {
    // A host lets the add-on go in this order at the end of its life.
    if (connected_) {
        Disconnect();
    }
    macros_.reset();
    addon_.reset();
    module_.reset();
}

std::wstring AddonLoader::module_path() const {
    return dll_path_ ? *dll_path_ : RegisteredServerPath();
}

void AddonLoader::LoadModule() {
    if (module_.get()) {
        return;
    }
    const std::wstring path = module_path();
    module_ = ModuleHandle(LoadLibraryW(path.c_str()));
    if (!module_.get()) {
        throw StepFailure("cannot load " + WideToUtf8(path) + " (error " +
                          std::to_string(GetLastError()) + ")");
    }
    unloaded_ = false;
}

HRESULT AddonLoader::Register(const char* applied, LONG active) {
    LoadModule();
    using RegisterFn = HRESULT(__stdcall*)(const char*, LONG);
    auto function = ProcAddress<RegisterFn>(module_.get(), "M2DllRegisterAddOn");
    if (!function) {
        throw StepFailure("the add-on exports no M2DllRegisterAddOn");
    }
    return function(applied, active);
}

ComPtr<IHostAddOn> AddonLoader::CreateAddon() {
    ComPtr<IHostAddOn> addon;
    if (!dll_path_) {
        const HRESULT status = CoCreateInstance(kAddonClassId, nullptr, CLSCTX_INPROC_SERVER,
                                                __uuidof(IHostAddOn), addon.put_void());
        if (FAILED(status)) {
            throw StepFailure("CoCreateInstance of the add-on failed with " + StatusText(status));
        }
        return addon;
    }
    LoadModule();
    using GetClassObjectFn = HRESULT(__stdcall*)(REFCLSID, REFIID, void**);
    auto get_class_object = ProcAddress<GetClassObjectFn>(module_.get(), "DllGetClassObject");
    if (!get_class_object) {
        throw StepFailure("the add-on exports no DllGetClassObject");
    }
    ComPtr<IClassFactory> factory;
    HRESULT status = get_class_object(kAddonClassId, IID_IClassFactory, factory.put_void());
    if (FAILED(status) || !factory) {
        throw StepFailure("DllGetClassObject failed with " + StatusText(status));
    }
    status = factory->CreateInstance(nullptr, __uuidof(IHostAddOn), addon.put_void());
    if (FAILED(status) || !addon) {
        throw StepFailure("IClassFactory.CreateInstance failed with " + StatusText(status));
    }
    return addon;
}

void AddonLoader::Connect() {
    if (!addon_) {
        addon_ = CreateAddon();
    }
    std::memset(&info_, 0, sizeof info_);
    info_status_ = addon_->GetInfo(&info_);
    connect_status_ = addon_->Connect(host_.HostObject());
    connected_ = SUCCEEDED(connect_status_);
    macros_.reset();
    commands_.clear();
    macro_attrs_status_ = addon_->GetMacroAttrs(macros_.put());
    if (FAILED(macro_attrs_status_) || !macros_) {
        return;
    }
    LONG count = 0;
    if (FAILED(macros_->GetCount(&count))) {
        return;
    }
    for (LONG i = 0; i < count; ++i) {
        LoadedCommand command;
        std::memset(&command.attrs, 0, sizeof command.attrs);
        if (FAILED(macros_->GetItem(i, &command.attrs))) {
            continue;
        }
        if (command.attrs.Bitmap != 0) {
            RecordingStream stream;
            command.save_status =
                addon_->SaveBitmap(&stream, BitmapFromRecord(command.attrs.Bitmap));
            command.stream_calls = stream.calls();
            command.bitmap = ParseBitmapStream(stream.bytes());
            command.bitmap_bytes = stream.bytes();
            if (stream.references() != 1) {
                command.bitmap.problem += " (the add-on kept a stream reference)";
            }
        }
        commands_.push_back(std::move(command));
    }
}

HRESULT AddonLoader::Disconnect() {
    if (!addon_) {
        throw StepFailure("disconnect: the add-on object does not exist");
    }
    connected_ = false;
    return addon_->Disconnect();
}

HRESULT AddonLoader::Execute(LONG id, LONG param) {
    if (!addon_) {
        throw StepFailure("command: the add-on object does not exist (connect first)");
    }
    return addon_->ExecuteMacro(id, param);
}

bool AddonLoader::Unload() {
    macros_.reset();
    addon_.reset();
    connected_ = false;
    if (!dll_path_) {
        // Through COM: the library goes when it agrees.
        CoFreeUnusedLibrariesEx(0, 0);
        CoFreeUnusedLibrariesEx(0, 0);
    }
    if (module_.get()) {
        using CanUnloadFn = HRESULT(__stdcall*)();
        auto can_unload = ProcAddress<CanUnloadFn>(module_.get(), "DllCanUnloadNow");
        can_unload_now_ = can_unload ? can_unload() : S_OK;
        if (*can_unload_now_ == S_OK) {
            module_.reset();
        }
    }
    if (!dll_path_) {
        unloaded_ = GetModuleHandleW(module_path().c_str()) == nullptr;
    } else {
        unloaded_ = module_.get() == nullptr;
    }
    return unloaded_;
}

}  // namespace kavrel::host
