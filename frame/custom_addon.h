// The reusable base of an add-on object: identity, class factory, host
// references, registered forms, and the virtual operations every IHostAddOn
// call ends in.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/com_ptr.h"
#include "frame/addon_form.h"
#include "gis/host_api.h"
#include "gis/sdk_records.h"

namespace kavrel {

class TM2AddonFactory;

class TM2CustomAddon {
  public:
    TM2CustomAddon(const GUID& class_id, std::u16string_view name, std::u16string_view caption,
                   std::int32_t options);
    TM2CustomAddon(const TM2CustomAddon&) = delete;
    TM2CustomAddon& operator=(const TM2CustomAddon&) = delete;
    virtual ~TM2CustomAddon();

    AddOnInfo Info;
    TM2AddonFactory* Factory = nullptr;
    bool Connected = false;
    std::vector<IAddonForm*> Forms;
    gis::TM2AddOnManager AddOnManager;
    gis::TM2GISDatabase GISDatabase;
    gis::TM2MapProject MapProject;
    gis::TM2MapObjects MapObjects;
    gis::TM2MapView MapView;
    gis::TM2GeometryLib GeometryLib;
    gis::TM2Preferences Preferences;

    const GUID& ClassId() const noexcept { return class_id_; }
    // The caption as text, the source of the errors reported to the host.
    const std::u16string& Caption() const noexcept { return caption_; }

    void RegisterForm(IAddonForm* form);
    void UnregisterForm(IAddonForm* form) noexcept;
    // Destroys every registered form, last first.
    void CloseForms() noexcept;

    virtual void GetInfo(AddOnInfo& info);
    virtual void Connect(IUnknown* host);
    virtual void Disconnect();
    virtual ComPtr<IM2MacroAttrsList> GetMacroAttrs();
    virtual void ExecuteMacro(LONG id, LONG param);
    virtual void Notify(LONG code, LONG param);
    virtual bool SaveBitmap(IStream* stream, HBITMAP bitmap);

  private:
    GUID class_id_;
    std::u16string caption_;
};

}  // namespace kavrel
