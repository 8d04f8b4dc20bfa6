#include "frame/macro_attrs_list.h"

#include <cstring>
#include <string>

#include "base/errors.h"
#include "gis/host_errors.h"

namespace kavrel {
namespace {

constexpr std::u16string_view kSource = u"Список макросов";

[[noreturn]] void ThrowIndexError(LONG index) {
    const std::string number = std::to_string(index);
    throw AddonError(u"List index out of bounds (" + std::u16string(number.begin(), number.end()) +
                     u")");
}

}  // namespace

void* IM2MacroAttrsListImp::FindInterface(REFIID iid) noexcept {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IM2MacroAttrsList))) {
        return static_cast<IM2MacroAttrsList*>(this);
    }
    return nullptr;
}

HRESULT __stdcall IM2MacroAttrsListImp::GetItem(LONG index, MacroAttrs* item) noexcept {
    return gis::ComBoundary(kSource, [&] {
        if (!item) {
            return E_POINTER;
        }
        // A failing call leaves a cleared record, never a stale one.
        std::memset(item, 0, sizeof(MacroAttrs));
        if (index < 0 || static_cast<std::size_t>(index) >= Items.size()) {
            ThrowIndexError(index);
        }
        std::memcpy(item, Items[static_cast<std::size_t>(index)].get(), sizeof(MacroAttrs));
        return S_OK;
    });
}

HRESULT __stdcall IM2MacroAttrsListImp::GetCount(LONG* result) noexcept {
    if (!result) {
        return E_POINTER;
    }
    *result = 0;
    return gis::ComBoundary(kSource, [&] {
        *result = static_cast<LONG>(Items.size());
        return S_OK;
    });
}

HRESULT __stdcall IM2MacroAttrsListImp::Clear() noexcept {
    return gis::ComBoundary(kSource, [&] {
        while (!Items.empty()) {
            Items.pop_back();
        }
        return S_OK;
    });
}

HRESULT __stdcall IM2MacroAttrsListImp::Insert(LONG index, const MacroAttrs* item) noexcept {
    return gis::ComBoundary(kSource, [&] {
        if (!item) {
            return E_POINTER;
        }
        if (index >= 0 && static_cast<std::size_t>(index) > Items.size()) {
            ThrowIndexError(index);
        }
        auto copy = std::make_unique<MacroAttrs>();
        std::memcpy(copy.get(), item, sizeof(MacroAttrs));
        if (index < 0) {
            Items.push_back(std::move(copy));
        } else {
            Items.insert(Items.begin() + index, std::move(copy));
        }
        return S_OK;
    });
}

}  // namespace kavrel
