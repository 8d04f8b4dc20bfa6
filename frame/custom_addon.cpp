#include "frame/custom_addon.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "base/short_string.h"
#include "frame/addon_factory.h"
#include "frame/library_refs.h"
#include "frame/macro_attrs_list.h"
#include "frame/record_builders.h"
#include "gis/host_errors.h"

namespace kavrel {
namespace {

// The host object queried for I; the reference is written only on success.
template <typename I>
void QueryHost(IUnknown* host, ComPtr<I>& target) {
    ComPtr<I> result;
    if (!host || FAILED(host->QueryInterface(__uuidof(I), result.put_void())) || !result) {
        throw AddonError(u"Interface not supported");
    }
    target = std::move(result);
}

GuidBytes ToGuidBytes(const GUID& guid) {
    GuidBytes bytes;
    static_assert(sizeof bytes == sizeof guid);
    std::memcpy(&bytes, &guid, sizeof bytes);
    return bytes;
}

}  // namespace

TM2CustomAddon::TM2CustomAddon(const GUID& class_id, std::u16string_view name,
                               std::u16string_view caption, std::int32_t options)
    : Info(MakeAddOnInfo(ToGuidBytes(class_id), name, caption, options)),
      class_id_(class_id),
      caption_(ReadShortStringWide(Info.Caption)) {
    if (AddonList) {
        AddonList->push_back(this);
    }
    CurrentAddon = this;
    try {
        Factory = TM2AddonFactory::Create(*this);
    } catch (...) {
        CurrentAddon = nullptr;
        if (AddonList) {
            std::erase(*AddonList, this);
        }
        throw;
    }
}

TM2CustomAddon::~TM2CustomAddon() {
    if (Factory) {
        Factory->Addon = nullptr;
        Factory = nullptr;
    }
    CloseForms();
    if (CurrentAddon == this) {
        CurrentAddon = nullptr;
    }
    if (AddonList) {
        std::erase(*AddonList, this);
    }
}

void TM2CustomAddon::RegisterForm(IAddonForm* form) {
    Forms.push_back(form);
}

void TM2CustomAddon::UnregisterForm(IAddonForm* form) noexcept {
    const auto found = std::find(Forms.begin(), Forms.end(), form);
    if (found != Forms.end()) {
        Forms.erase(found);
    }
}

void TM2CustomAddon::CloseForms() noexcept {
    while (!Forms.empty()) {
        IAddonForm* last = Forms.back();
        Forms.pop_back();
        last->Destroy();
    }
}

void TM2CustomAddon::GetInfo(AddOnInfo& info) {
    std::memcpy(&info, &Info, sizeof Info);
}

void TM2CustomAddon::Connect(IUnknown* host) {
    ComPtr<IHostErrorInfo> errors;
    QueryHost(host, errors);
    gis::HostErrors = std::move(errors);
    QueryHost(host, AddOnManager.Intf);
    QueryHost(host, GISDatabase.Intf);
    QueryHost(host, MapProject.Intf);
    QueryHost(host, MapObjects.Intf);
    QueryHost(host, MapView.Intf);
    QueryHost(host, GeometryLib.Intf);
    QueryHost(host, Preferences.Intf);
    HostMainWindow = AddOnManager.GetMainWindowHandle();
    Connected = true;
    CurrentAddon = this;
}

void TM2CustomAddon::Disconnect() {
    CloseForms();
    Connected = false;
    HostMainWindow = nullptr;
    AddOnManager.Intf.reset();
    GISDatabase.Intf.reset();
    MapProject.Intf.reset();
    MapObjects.Intf.reset();
    MapView.Intf.reset();
    GeometryLib.Intf.reset();
    Preferences.Intf.reset();
    gis::HostErrors.reset();
}

ComPtr<IM2MacroAttrsList> TM2CustomAddon::GetMacroAttrs() {
    return ComPtr<IM2MacroAttrsList>(new IM2MacroAttrsListImp());
}

void TM2CustomAddon::ExecuteMacro(LONG, LONG) {}

void TM2CustomAddon::Notify(LONG, LONG) {}

bool TM2CustomAddon::SaveBitmap(IStream*, HBITMAP) {
    return false;
}

}  // namespace kavrel
