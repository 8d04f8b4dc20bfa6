#include "host/com/host_root.h"

#include <cstring>

#include "base/short_string.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"

namespace kavrel::host {
namespace {

std::u16string IdText(const M2Id* id) {
    if (!id) {
        Fail(E_POINTER, u"Не передан идентификатор");
    }
    return ReadShortStringWide(*id);
}

void FillDescription(M2DescRecord* info, const std::u16string& id, const std::u16string& name) {
    std::memset(info, 0, sizeof *info);
    StoreShortString(info->Id, std::u16string_view(id));
    StoreShortString(info->Name, std::u16string_view(name));
}

}  // namespace

HostObjectRoot::HostObjectRoot(HostContext& host)
    : host_(host),
      identity_(*this, "IUnknown"),
      support_(*this, "ISupportErrorInfo"),
      errors_(*this, "IHostErrorInfo"),
      manager_(*this, "IM2AddOnManager"),
      database_(*this, "IM2GISDatabase"),
      project_(*this, "IM2MapProject"),
      map_objects_(*this, "IM2MapObjects"),
      map_view_(*this, "IM2MapView"),
      geometry_(*this, "IM2GeometryLib"),
      preferences_(*this, "IM2Preferences"),
      application_(*this, "IHostApplication") {}

void HostObjectRoot::HostRelease() noexcept {
    if (--references_ == 0) {
        delete this;
    }
}

HRESULT HostObjectRoot::QueryInterface(REFIID iid, void** out) {
    if (!out) {
        return E_POINTER;
    }
    *out = nullptr;
    IUnknown* part = nullptr;
    if (iid == IID_IUnknown) {
        part = &identity_;
    } else if (iid == IID_ISupportErrorInfo) {
        part = &support_;
    } else if (iid == __uuidof(IHostErrorInfo)) {
        part = &errors_;
    } else if (iid == __uuidof(IM2AddOnManager)) {
        part = &manager_;
    } else if (iid == __uuidof(IM2GISDatabase)) {
        part = &database_;
    } else if (iid == __uuidof(IM2MapProject)) {
        part = &project_;
    } else if (iid == __uuidof(IM2MapObjects)) {
        part = &map_objects_;
    } else if (iid == __uuidof(IM2MapView)) {
        part = &map_view_;
    } else if (iid == __uuidof(IM2GeometryLib)) {
        part = &geometry_;
    } else if (iid == __uuidof(IM2Preferences)) {
        part = &preferences_;
    } else if (iid == __uuidof(IHostApplication) || iid == IID_IDispatch) {
        part = &application_;
    } else {
        return E_NOINTERFACE;
    }
    part->AddRef();
    *out = part;
    return S_OK;
}

HRESULT __stdcall SupportErrorInfoPart::InterfaceSupportsErrorInfo(REFIID iid) {
    return iid == __uuidof(IHostApplication) ? S_OK : S_FALSE;
}

// ---- IHostErrorInfo -------------------------------------------------------

HRESULT __stdcall ErrorInfoPart::SetError(const M2Text255* source, const M2Text255* message) {
    return host().Sdk("IHostErrorInfo.SetError", [&] {
        if (!source || !message) {
            Fail(E_POINTER, u"Не передан текст ошибки");
        }
        host().reported_errors().push_back(
            ReportedError{ReadShortStringWide(*source), ReadShortStringWide(*message)});
        return S_OK;
    });
}

HRESULT __stdcall ErrorInfoPart::GetLastError(M2Text255* a, M2Text255* b) {
    return host().Sdk("IHostErrorInfo.GetLastError", [&] {
        if (!a || !b) {
            Fail(E_POINTER, u"Не передан буфер для текста ошибки");
        }
        if (!host().has_last_sdk_error()) {
            StoreShortString(*a, std::string_view());
            StoreShortString(*b, std::string_view());
            return S_FALSE;  // no failure so far
        }
        StoreShortString(*a, std::u16string_view(host().last_sdk_error().source));
        StoreShortString(*b, std::u16string_view(host().last_sdk_error().message));
        return S_OK;
    });
}

// ---- IM2AddOnManager ------------------------------------------------------

HRESULT __stdcall AddOnManagerPart::GetMainWindowHandle(HWND* result) {
    return host().Sdk("IM2AddOnManager.GetMainWindowHandle", [&] {
        *OutArg(result) = host().main_window();
        return S_OK;
    });
}

// ---- IM2GISDatabase -------------------------------------------------------

#define KAVREL_SDK_RESERVED(cls, iface, p)                                \
    HRESULT __stdcall cls::Reserved##p() {                                \
        return NotImplemented(host(), #iface, p, false, __uuidof(iface)); \
    }
KAVREL_SDK_RESERVED(GisDatabasePart, IM2GISDatabase, 1)
KAVREL_SDK_RESERVED(GisDatabasePart, IM2GISDatabase, 2)
KAVREL_SDK_RESERVED(GisDatabasePart, IM2GISDatabase, 3)
KAVREL_SDK_RESERVED(GisDatabasePart, IM2GISDatabase, 4)
KAVREL_SDK_RESERVED(GisDatabasePart, IM2GISDatabase, 5)
KAVREL_SDK_RESERVED(GisDatabasePart, IM2GISDatabase, 7)
KAVREL_SDK_RESERVED(MapProjectPart, IM2MapProject, 1)
KAVREL_SDK_RESERVED(MapProjectPart, IM2MapProject, 2)
KAVREL_SDK_RESERVED(MapProjectPart, IM2MapProject, 3)
KAVREL_SDK_RESERVED(MapProjectPart, IM2MapProject, 4)
KAVREL_SDK_RESERVED(MapProjectPart, IM2MapProject, 5)
KAVREL_SDK_RESERVED(MapProjectPart, IM2MapProject, 6)
KAVREL_SDK_RESERVED(MapProjectPart, IM2MapProject, 7)
#undef KAVREL_SDK_RESERVED

HRESULT __stdcall GisDatabasePart::GetMapInfo(const M2Id* map_id, M2DescRecord* info) {
    return host().Sdk("IM2GISDatabase.GetMapInfo", [&] {
        const std::u16string id = IdText(map_id);
        if (!info) {
            Fail(E_POINTER, u"Не передана запись описания");
        }
        const Map* map = host().model().FindMap(id);
        if (!map) {
            Fail(kHostNotFound, u"Карта «" + id + u"» не найдена");
        }
        FillDescription(info, map->id, map->name);
        return S_OK;
    });
}

HRESULT __stdcall GisDatabasePart::GetLayerInfo(const M2Id* layer_id, M2DescRecord* info) {
    return host().Sdk("IM2GISDatabase.GetLayerInfo", [&] {
        const std::u16string id = IdText(layer_id);
        if (!info) {
            Fail(E_POINTER, u"Не передана запись описания");
        }
        const Layer* layer = host().model().FindLayer(id);
        if (!layer) {
            Fail(kHostNotFound, u"Слой «" + id + u"» не найден");
        }
        FillDescription(info, layer->id, layer->name);
        return S_OK;
    });
}

HRESULT __stdcall GisDatabasePart::GetStyleIds(const M2Id* layer_id, IM2IDsList** result) {
    return host().Sdk("IM2GISDatabase.GetStyleIds", [&] {
        const std::u16string id = IdText(layer_id);
        OutArg(result);
        const Layer* layer = host().model().FindLayer(id);
        if (!layer) {
            Fail(kHostNotFound, u"Слой «" + id + u"» не найден");
        }
        *result = NewIdsList(host(), layer->styles);
        return S_OK;
    });
}

HRESULT __stdcall GisDatabasePart::GetStyle(const M2Id* style_id, IHostM2Style** result) {
    return host().Sdk("IM2GISDatabase.GetStyle", [&] {
        const std::u16string id = IdText(style_id);
        OutArg(result);
        if (!host().model().FindStyle(id)) {
            Fail(kHostNotFound, u"Стиль «" + id + u"» не найден");
        }
        *result = NewM2Style(host(), id);
        return S_OK;
    });
}

// ---- IM2MapProject --------------------------------------------------------

HRESULT __stdcall MapProjectPart::GetMapIds(IM2IDsList** result) {
    return host().Sdk("IM2MapProject.GetMapIds", [&] {
        OutArg(result);
        std::vector<std::u16string> ids;
        for (const Map& map : host().model().maps()) {
            ids.push_back(map.id);
        }
        *result = NewIdsList(host(), std::move(ids));
        return S_OK;
    });
}

HRESULT __stdcall MapProjectPart::GetLayerIds(const M2Id* map_id, IM2IDsList** result) {
    return host().Sdk("IM2MapProject.GetLayerIds", [&] {
        const std::u16string id = IdText(map_id);
        OutArg(result);
        const Map* map = host().model().FindMap(id);
        if (!map) {
            Fail(kHostNotFound, u"Карта «" + id + u"» не найдена");
        }
        *result = NewIdsList(host(), map->layers);
        return S_OK;
    });
}

// ---- IHostApplication -----------------------------------------------------

HRESULT __stdcall ApplicationPart::GetTypeInfoCount(UINT* count) {
    if (!count) {
        return E_POINTER;
    }
    *count = 0;
    return S_OK;
}

HRESULT __stdcall ApplicationPart::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) {
        *info = nullptr;
    }
    return E_NOTIMPL;
}

HRESULT __stdcall ApplicationPart::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT __stdcall ApplicationPart::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                          EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

HRESULT __stdcall ApplicationPart::GetMainWindow(IHostMainWindow** result) {
    return host().Automation("IHostApplication.GetMainWindow", __uuidof(IHostApplication), [&] {
        OutArg(result);
        *result = NewMainWindow(host());
        return S_OK;
    });
}

HRESULT __stdcall ApplicationPart::GetSelection(IHostSelection** result) {
    return host().Automation("IHostApplication.GetSelection", __uuidof(IHostApplication), [&] {
        OutArg(result);
        *result = NewSelection(host());
        return S_OK;
    });
}

HRESULT __stdcall ApplicationPart::GetDatabase(IHostDatabase** result) {
    return host().Automation("IHostApplication.GetDatabase", __uuidof(IHostApplication), [&] {
        OutArg(result);
        *result = NewDatabase(host());
        return S_OK;
    });
}

HRESULT __stdcall ApplicationPart::Reserved4() {
    return NotImplemented(host(), "IHostApplication", 4, true, __uuidof(IHostApplication));
}

HRESULT __stdcall ApplicationPart::GetPreferences(IHostPreferences** result) {
    return host().Automation("IHostApplication.GetPreferences", __uuidof(IHostApplication), [&] {
        OutArg(result);
        *result = NewPreferences(host());
        return S_OK;
    });
}

}  // namespace kavrel::host
