// Records holding one host SDK interface each. Every operation passes the
// host's status through CheckHostResult, so a failure becomes an EHResultError
// with the host's own error text.
#pragma once

#include <string_view>

#include "base/com_ptr.h"
#include "gis/host_api.h"

namespace kavrel::gis {

template <typename I>
struct THostInterfaceRecord {
    ComPtr<I> Intf;
    explicit operator bool() const noexcept { return static_cast<bool>(Intf); }
    // The interface, or an error when the add-on is not connected.
    I* Required() const;
};

struct TM2AddOnManager : THostInterfaceRecord<IM2AddOnManager> {
    HWND GetMainWindowHandle() const;
};

struct TM2GISDatabase : THostInterfaceRecord<IM2GISDatabase> {
    void GetMapInfo(const M2Id& map_id, M2DescRecord& info) const;
    void GetLayerInfo(const M2Id& layer_id, M2DescRecord& info) const;
    ComPtr<IM2IDsList> GetStyleIds(const M2Id& layer_id) const;
    ComPtr<IHostM2Style> GetStyle(const M2Id& style_id) const;
};

struct TM2MapProject : THostInterfaceRecord<IM2MapProject> {
    ComPtr<IM2IDsList> GetMapIds() const;
    ComPtr<IM2IDsList> GetLayerIds(const M2Id& map_id) const;
};

// Taken at connection and kept; the add-on calls none of their operations.
struct TM2MapObjects : THostInterfaceRecord<IM2MapObjects> {};
struct TM2MapView : THostInterfaceRecord<IM2MapView> {};
struct TM2GeometryLib : THostInterfaceRecord<IM2GeometryLib> {};
struct TM2Preferences : THostInterfaceRecord<IM2Preferences> {};

// The add-on's own command list, as the add-on fills it.
struct TM2MacroAttrsList : THostInterfaceRecord<IM2MacroAttrsList> {
    void Insert(LONG index, const MacroAttrs& item) const;
    void GetItem(LONG index, MacroAttrs& item) const;
    LONG GetCount() const;
    void Clear() const;
};

// A list's count and items, checked like every SDK result: a failure stops
// the caller with the host's own text, rather than giving a map without
// layers, or an empty identifier that the next lookup reports as missing. A
// null list is empty.
LONG IdCount(IM2IDsList* list);
M2Id IdAt(IM2IDsList* list, LONG index);

// The text of the error raised by an operation on a record with no interface.
inline constexpr std::u16string_view kNotConnectedMessage = u"Расширение не подключено к ГИС";

}  // namespace kavrel::gis
