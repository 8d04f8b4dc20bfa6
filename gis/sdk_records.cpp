#include "gis/sdk_records.h"

#include "base/errors.h"
#include "gis/host_errors.h"

namespace kavrel::gis {

template <typename I>
I* THostInterfaceRecord<I>::Required() const {
    if (!Intf) {
        throw EHResultError(std::u16string(kNotConnectedMessage));
    }
    return Intf.get();
}

template struct THostInterfaceRecord<IM2AddOnManager>;
template struct THostInterfaceRecord<IM2GISDatabase>;
template struct THostInterfaceRecord<IM2MapProject>;
template struct THostInterfaceRecord<IM2MacroAttrsList>;

HWND TM2AddOnManager::GetMainWindowHandle() const {
    HWND handle = nullptr;
    CheckHostResult(Required()->GetMainWindowHandle(&handle));
    return handle;
}

void TM2GISDatabase::GetMapInfo(const M2Id& map_id, M2DescRecord& info) const {
    CheckHostResult(Required()->GetMapInfo(&map_id, &info));
}

void TM2GISDatabase::GetLayerInfo(const M2Id& layer_id, M2DescRecord& info) const {
    CheckHostResult(Required()->GetLayerInfo(&layer_id, &info));
}

ComPtr<IM2IDsList> TM2GISDatabase::GetStyleIds(const M2Id& layer_id) const {
    ComPtr<IM2IDsList> result;
    CheckHostResult(Required()->GetStyleIds(&layer_id, result.put()));
    return result;
}

ComPtr<IHostM2Style> TM2GISDatabase::GetStyle(const M2Id& style_id) const {
    ComPtr<IHostM2Style> result;
    CheckHostResult(Required()->GetStyle(&style_id, result.put()));
    return result;
}

ComPtr<IM2IDsList> TM2MapProject::GetMapIds() const {
    ComPtr<IM2IDsList> result;
    CheckHostResult(Required()->GetMapIds(result.put()));
    return result;
}

ComPtr<IM2IDsList> TM2MapProject::GetLayerIds(const M2Id& map_id) const {
    ComPtr<IM2IDsList> result;
    CheckHostResult(Required()->GetLayerIds(&map_id, result.put()));
    return result;
}

LONG IdCount(IM2IDsList* list) {
    LONG count = 0;
    if (list) {
        CheckHostResult(list->GetCount(&count));
    }
    return count;
}

M2Id IdAt(IM2IDsList* list, LONG index) {
    M2Id id{};
    if (list) {
        CheckHostResult(list->GetItem(index, &id));
    }
    return id;
}

void TM2MacroAttrsList::Insert(LONG index, const MacroAttrs& item) const {
    CheckHostResult(Required()->Insert(index, &item));
}

void TM2MacroAttrsList::GetItem(LONG index, MacroAttrs& item) const {
    CheckHostResult(Required()->GetItem(index, &item));
}

LONG TM2MacroAttrsList::GetCount() const {
    LONG count = 0;
    CheckHostResult(Required()->GetCount(&count));
    return count;
}

void TM2MacroAttrsList::Clear() const {
    CheckHostResult(Required()->Clear());
}

}  // namespace kavrel::gis
