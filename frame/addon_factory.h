// The class factory of an add-on and the COM object it makes: every creation
// request gets a new TM2AddonProxy, and every proxy forwards to the one add-on
// object.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "frame/com_server.h"
#include "gis/host_api.h"

namespace kavrel {

class TM2CustomAddon;

class TM2AddonFactory final : public TComObjectFactory {
  public:
    // Makes the add-on's factory and registers it with the COM server, which
    // owns it.
    static TM2AddonFactory* Create(TM2CustomAddon& addon);
    ~TM2AddonFactory() override;

    HRESULT __stdcall CreateInstance(IUnknown* outer, REFIID iid, void** object) noexcept override;

    // The add-on served; cleared by the add-on when it is destroyed first.
    TM2CustomAddon* Addon;

  private:
    explicit TM2AddonFactory(TM2CustomAddon& addon);
};

// The add-on COM object. Aggregatable: with an outer object its IUnknown is the
// outer one's, and the outer object holds the inner (non-delegating) one.
class TM2AddonProxy final : public IHostAddOn, public ISupportErrorInfo {
  public:
    TM2AddonProxy(TM2CustomAddon* addon, IUnknown* outer) noexcept;
    TM2AddonProxy(const TM2AddonProxy&) = delete;
    TM2AddonProxy& operator=(const TM2AddonProxy&) = delete;

    // The IUnknown that owns the object's life: the inner one.
    IUnknown* InnerUnknown() noexcept { return &inner_; }

    HRESULT __stdcall QueryInterface(REFIID iid, void** object) noexcept override {
        return controller_->QueryInterface(iid, object);
    }
    ULONG __stdcall AddRef() noexcept override { return controller_->AddRef(); }
    ULONG __stdcall Release() noexcept override { return controller_->Release(); }

    HRESULT __stdcall InterfaceSupportsErrorInfo(REFIID iid) noexcept override;

    HRESULT __stdcall GetInfo(AddOnInfo* info) noexcept override;
    HRESULT __stdcall Connect(IUnknown* host) noexcept override;
    HRESULT __stdcall Disconnect() noexcept override;
    HRESULT __stdcall GetMacroAttrs(IM2MacroAttrsList** result) noexcept override;
    HRESULT __stdcall ExecuteMacro(LONG id, LONG param) noexcept override;
    HRESULT __stdcall Notify(LONG code, LONG param) noexcept override;
    HRESULT __stdcall SaveBitmap(IStream* stream, HBITMAP bitmap) noexcept override;

    // Copied from the factory when the object is made; the proxy holds no count on it.
    TM2CustomAddon* Addon;

  private:
    class Inner final : public IUnknown {
      public:
        explicit Inner(TM2AddonProxy& owner) noexcept : owner_(owner) {}
        HRESULT __stdcall QueryInterface(REFIID iid, void** object) noexcept override;
        ULONG __stdcall AddRef() noexcept override;
        ULONG __stdcall Release() noexcept override;

      private:
        TM2AddonProxy& owner_;
    };

    ~TM2AddonProxy() = default;
    void* FindInterface(REFIID iid) noexcept;
    TM2CustomAddon& RequiredAddon() const;
    std::u16string_view Source() const noexcept;

    Inner inner_;
    IUnknown* controller_;
    volatile LONG refs_ = 0;
    ServerObjectCount server_count_;
};

}  // namespace kavrel
