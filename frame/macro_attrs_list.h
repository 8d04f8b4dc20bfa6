// The command list handed to the host: owned copies of 236-byte records.
#pragma once

#include <memory>
#include <vector>

#include "frame/aggregated_interface.h"
#include "gis/host_api.h"

namespace kavrel {

class IM2MacroAttrsListImp final : public TInterface, public IM2MacroAttrsList {
  public:
    IM2MacroAttrsListImp() = default;

    HRESULT __stdcall QueryInterface(REFIID iid, void** object) noexcept override {
        return DoQueryInterface(iid, object);
    }
    ULONG __stdcall AddRef() noexcept override { return DoAddRef(); }
    ULONG __stdcall Release() noexcept override { return DoRelease(); }

    HRESULT __stdcall GetItem(LONG index, MacroAttrs* item) noexcept override;
    HRESULT __stdcall GetCount(LONG* result) noexcept override;
    HRESULT __stdcall Clear() noexcept override;
    HRESULT __stdcall Insert(LONG index, const MacroAttrs* item) noexcept override;

  private:
    void* FindInterface(REFIID iid) noexcept override;

    std::vector<std::unique_ptr<MacroAttrs>> Items;
};

}  // namespace kavrel
