// Byte layouts shared with the GIS host's add-on SDK. The host reads and writes
// these records byte for byte, so every size and offset is pinned below.
// This header includes no Windows header: the records are also tested natively.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/short_string.h"

namespace kavrel {

#pragma pack(push, 1)

// Identifiers of maps, layers, styles and objects: 16 bytes, capacity 15.
using M2Id = ShortString<15>;
// The two texts of IHostErrorInfo.SetError/GetLastError: 256-byte buffers.
using M2Text255 = ShortString<255>;
// The name buffer of IHostM2Style.GetName: 100 bytes.
using M2StyleName = ShortString<99>;

// Windows GUID layout (32-bit, 16-bit, 16-bit little-endian, then 8 bytes).
struct GuidBytes {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];
};

// The add-on's identity record handed to IHostAddOn.GetInfo.
struct AddOnInfo {
    GuidBytes ClassId;
    ShortString<31> Name;
    ShortString<63> Caption;
    std::int32_t Options;
    std::int32_t SdkVersion;
};

// One command of the add-on as the host reads it through IM2MacroAttrsList.
struct MacroAttrs {
    std::int32_t Id;
    ShortString<31> BitmapName;
    ShortString<63> Caption;
    ShortString<63> MenuPath;
    std::uint32_t MenuReserved;
    ShortString<31> ToolbarName;
    ShortString<31> CategoryName;
    std::uint32_t Bitmap;  // HBITMAP of the 32-bit host
};

// The description record that IM2GISDatabase.GetMapInfo/GetLayerInfo fill.
struct M2DescRecord {
    M2Id Id;
    ShortString<255> Name;
    std::uint8_t Reserved[240];
};

#pragma pack(pop)

static_assert(sizeof(M2Id) == 16);
static_assert(sizeof(M2Text255) == 256);
static_assert(sizeof(M2StyleName) == 100);
static_assert(sizeof(GuidBytes) == 16);

static_assert(sizeof(AddOnInfo) == 120);
static_assert(offsetof(AddOnInfo, ClassId) == 0);
static_assert(offsetof(AddOnInfo, Name) == 16);
static_assert(offsetof(AddOnInfo, Caption) == 48);
static_assert(offsetof(AddOnInfo, Options) == 112);
static_assert(offsetof(AddOnInfo, SdkVersion) == 116);

static_assert(sizeof(MacroAttrs) == 236);
static_assert(offsetof(MacroAttrs, Id) == 0);
static_assert(offsetof(MacroAttrs, BitmapName) == 4);
static_assert(offsetof(MacroAttrs, Caption) == 36);
static_assert(offsetof(MacroAttrs, MenuPath) == 100);
static_assert(offsetof(MacroAttrs, MenuReserved) == 164);
static_assert(offsetof(MacroAttrs, ToolbarName) == 168);
static_assert(offsetof(MacroAttrs, CategoryName) == 200);
static_assert(offsetof(MacroAttrs, Bitmap) == 232);

static_assert(sizeof(M2DescRecord) == 512);
static_assert(offsetof(M2DescRecord, Id) == 0);
static_assert(offsetof(M2DescRecord, Name) == 16);

}  // namespace kavrel
