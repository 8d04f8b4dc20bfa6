#include "frame/addon_factory.h"

#include <cstring>
#include <new>

#include "base/errors.h"
#include "frame/custom_addon.h"
#include "frame/library_refs.h"
#include "gis/host_errors.h"

namespace kavrel {

TM2AddonFactory::TM2AddonFactory(TM2CustomAddon& addon)
    : TComObjectFactory(addon.ClassId(), addon.Caption()), Addon(&addon) {}

TM2AddonFactory* TM2AddonFactory::Create(TM2CustomAddon& addon) {
    if (!ComServer) {
        throw AddonError(u"COM server is not running");
    }
    std::unique_ptr<TM2AddonFactory> factory(new TM2AddonFactory(addon));
    TM2AddonFactory* result = factory.get();
    ComServer->AddFactory(std::move(factory));
    return result;
}

TM2AddonFactory::~TM2AddonFactory() {
    if (TM2CustomAddon* addon = std::exchange(Addon, nullptr)) {
        addon->Factory = nullptr;
        if (TheAddon && TheAddon.get() == addon) {
            TheAddon.reset();
        } else {
            delete addon;
        }
    }
}

HRESULT __stdcall TM2AddonFactory::CreateInstance(IUnknown* outer, REFIID iid,
                                                  void** object) noexcept {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (outer && !IsEqualIID(iid, IID_IUnknown)) {
        return CLASS_E_NOAGGREGATION;
    }
    if (!Addon) {
        return E_UNEXPECTED;
    }
    auto* proxy = new (std::nothrow) TM2AddonProxy(Addon, outer);
    if (!proxy) {
        return E_OUTOFMEMORY;
    }
    // The inner IUnknown holds the one reference while the interface is asked for.
    IUnknown* inner = proxy->InnerUnknown();
    inner->AddRef();
    const HRESULT status = inner->QueryInterface(iid, object);
    inner->Release();
    return status;
}

TM2AddonProxy::TM2AddonProxy(TM2CustomAddon* addon, IUnknown* outer) noexcept
    : Addon(addon), inner_(*this), controller_(outer ? outer : &inner_) {}

void* TM2AddonProxy::FindInterface(REFIID iid) noexcept {
    if (IsEqualIID(iid, IID_IUnknown)) {
        return &inner_;
    }
    if (IsEqualIID(iid, __uuidof(IHostAddOn))) {
        return static_cast<IHostAddOn*>(this);
    }
    if (IsEqualIID(iid, IID_ISupportErrorInfo)) {
        return static_cast<ISupportErrorInfo*>(this);
    }
    return nullptr;
}

HRESULT __stdcall TM2AddonProxy::Inner::QueryInterface(REFIID iid, void** object) noexcept {
    if (!object) {
        return E_POINTER;
    }
    *object = owner_.FindInterface(iid);
    if (!*object) {
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

ULONG __stdcall TM2AddonProxy::Inner::AddRef() noexcept {
    return static_cast<ULONG>(InterlockedIncrement(&owner_.refs_));
}

ULONG __stdcall TM2AddonProxy::Inner::Release() noexcept {
    const LONG result = InterlockedDecrement(&owner_.refs_);
    if (result == 0) {
        delete &owner_;
    }
    return static_cast<ULONG>(result);
}

HRESULT __stdcall TM2AddonProxy::InterfaceSupportsErrorInfo(REFIID iid) noexcept {
    return FindInterface(iid) ? S_OK : S_FALSE;
}

TM2CustomAddon& TM2AddonProxy::RequiredAddon() const {
    if (!Addon) {
        throw AddonError(u"The add-on object no longer exists");
    }
    return *Addon;
}

std::u16string_view TM2AddonProxy::Source() const noexcept {
    return Addon ? std::u16string_view(Addon->Caption()) : std::u16string_view();
}

HRESULT __stdcall TM2AddonProxy::GetInfo(AddOnInfo* info) noexcept {
    if (!info) {
        return E_POINTER;
    }
    std::memset(info, 0, sizeof *info);
    return gis::ComBoundary(Source(), [&] {
        AddOnInfo filled;
        std::memset(&filled, 0, sizeof filled);
        RequiredAddon().GetInfo(filled);
        std::memcpy(info, &filled, sizeof filled);
        return S_OK;
    });
}

HRESULT __stdcall TM2AddonProxy::Connect(IUnknown* host) noexcept {
    return gis::ComBoundary(Source(), [&] {
        RequiredAddon().Connect(host);
        return S_OK;
    });
}

HRESULT __stdcall TM2AddonProxy::Disconnect() noexcept {
    return gis::ComBoundary(Source(), [&] {
        RequiredAddon().Disconnect();
        return S_OK;
    });
}

HRESULT __stdcall TM2AddonProxy::GetMacroAttrs(IM2MacroAttrsList** result) noexcept {
    if (!result) {
        return E_POINTER;
    }
    *result = nullptr;
    return gis::ComBoundary(Source(), [&] {
        ComPtr<IM2MacroAttrsList> list = RequiredAddon().GetMacroAttrs();
        *result = list.Detach();
        return S_OK;
    });
}

HRESULT __stdcall TM2AddonProxy::ExecuteMacro(LONG id, LONG param) noexcept {
    return gis::ComBoundary(Source(), [&] {
        RequiredAddon().ExecuteMacro(id, param);
        return S_OK;
    });
}

HRESULT __stdcall TM2AddonProxy::Notify(LONG code, LONG param) noexcept {
    return gis::ComBoundary(Source(), [&] {
        RequiredAddon().Notify(code, param);
        return S_OK;
    });
}

HRESULT __stdcall TM2AddonProxy::SaveBitmap(IStream* stream, HBITMAP bitmap) noexcept {
    return gis::ComBoundary(
        Source(), [&] { return RequiredAddon().SaveBitmap(stream, bitmap) ? S_OK : S_FALSE; });
}

}  // namespace kavrel
