// The binary interface between the add-on and the GIS host: every host
// interface, the add-on's own interfaces and their identifiers. The add-on and
// the stand-in host both compile against this header; nothing else declares them.
//
// SDK layer interfaces derive from IUnknown: operation position p sits in
// vtable slot 2 + p. Automation layer interfaces are dual and derive from
// IDispatch: position p sits in slot 6 + p. Positions the add-on never calls
// are declared as Reserved<p> placeholders so that every operation keeps its
// slot; the stand-in host answers E_NOTIMPL from them.
#pragma once

#include <windows.h>
#include <objidl.h>
#include <oaidl.h>

#include "gis/records.h"

// <windows.h> maps these names to its own A/W functions; the host operations
// keep their declared names.
#undef GetObject
#undef GetMessage
#undef GetCurrentTime

#define KAVREL_RESERVED(p) virtual HRESULT __stdcall Reserved##p() = 0

// ---------------------------------------------------------------------------
// Forward declarations
// ---------------------------------------------------------------------------
struct IHostApplication;
struct IHostMainWindow;
struct IHostMapWindow;
struct IHostTaskPanel;
struct IHostSelection;
struct IHostDatabase;
struct IHostStyle;
struct IHostLayer;
struct IHostSemTables;
struct IHostSemTable;
struct IHostSemFields;
struct IHostSemField;
struct IHostPreferences;
struct IHostMapObjects;
struct IHostQueryCursor;
struct IHostMapObject;
struct IHostSemantics;
struct IHostShapes;
struct IHostShape;
struct IHostContour;
struct IHostContourPart;
struct IM2IDsList;
struct IHostM2Style;
struct IM2MacroAttrsList;

// ---------------------------------------------------------------------------
// Automation layer (dual interfaces, position p = vtable slot 6 + p)
// ---------------------------------------------------------------------------

struct IHostApplication : public IDispatch {
    virtual HRESULT __stdcall GetMainWindow(IHostMainWindow** result) = 0;  // 1
    virtual HRESULT __stdcall GetSelection(IHostSelection** result) = 0;    // 2
    virtual HRESULT __stdcall GetDatabase(IHostDatabase** result) = 0;      // 3
    KAVREL_RESERVED(4);
    virtual HRESULT __stdcall GetPreferences(IHostPreferences** result) = 0;  // 5
};

struct IHostMainWindow : public IDispatch {
    KAVREL_RESERVED(1);
    virtual HRESULT __stdcall GetMapWindow(IHostMapWindow** result) = 0;  // 2
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    virtual HRESULT __stdcall GetTaskPanel(BSTR key, BSTR caption,
                                           IHostTaskPanel** result) = 0;  // 6
};

struct IHostMapWindow : public IDispatch {
    KAVREL_RESERVED(1);
    KAVREL_RESERVED(2);
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    KAVREL_RESERVED(6);
    KAVREL_RESERVED(7);
    virtual HRESULT __stdcall Redraw() = 0;  // 8
};

struct IHostTaskPanel : public IDispatch {
    KAVREL_RESERVED(1);
    KAVREL_RESERVED(2);
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    virtual HRESULT __stdcall Show() = 0;                         // 5
    virtual HRESULT __stdcall GetWindowHandle(LONG* result) = 0;  // 6
};

struct IHostSelection : public IDispatch {
    virtual HRESULT __stdcall GetCount(LONG* result) = 0;  // 1
    KAVREL_RESERVED(2);
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    KAVREL_RESERVED(6);
    KAVREL_RESERVED(7);
    KAVREL_RESERVED(8);
    virtual HRESULT __stdcall GetItemId(LONG index, BSTR* result) = 0;  // 9
};

struct IHostDatabase : public IDispatch {
    KAVREL_RESERVED(1);
    KAVREL_RESERVED(2);
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    KAVREL_RESERVED(6);
    KAVREL_RESERVED(7);
    KAVREL_RESERVED(8);
    KAVREL_RESERVED(9);
    KAVREL_RESERVED(10);
    virtual HRESULT __stdcall StyleExists(BSTR style_id, VARIANT_BOOL* result) = 0;  // 11
    virtual HRESULT __stdcall GetStyle(BSTR style_id, IHostStyle** result) = 0;      // 12
    KAVREL_RESERVED(13);
    KAVREL_RESERVED(14);
    KAVREL_RESERVED(15);
    KAVREL_RESERVED(16);
    KAVREL_RESERVED(17);
    KAVREL_RESERVED(18);
    virtual HRESULT __stdcall GetMapObjects(IHostMapObjects** result) = 0;  // 19
};

struct IHostStyle : public IDispatch {
    KAVREL_RESERVED(1);
    virtual HRESULT __stdcall GetName(BSTR* result) = 0;  // 2
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    KAVREL_RESERVED(6);
    KAVREL_RESERVED(7);
    KAVREL_RESERVED(8);
    KAVREL_RESERVED(9);
    KAVREL_RESERVED(10);
    KAVREL_RESERVED(11);
    KAVREL_RESERVED(12);
    KAVREL_RESERVED(13);
    KAVREL_RESERVED(14);
    KAVREL_RESERVED(15);
    KAVREL_RESERVED(16);
    KAVREL_RESERVED(17);
    virtual HRESULT __stdcall GetLayer(IHostLayer** result) = 0;  // 18
};

struct IHostLayer : public IDispatch {
    virtual HRESULT __stdcall GetId(BSTR* result) = 0;    // 1
    virtual HRESULT __stdcall GetName(BSTR* result) = 0;  // 2
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    KAVREL_RESERVED(6);
    KAVREL_RESERVED(7);
    KAVREL_RESERVED(8);
    KAVREL_RESERVED(9);
    KAVREL_RESERVED(10);
    KAVREL_RESERVED(11);
    KAVREL_RESERVED(12);
    KAVREL_RESERVED(13);
    virtual HRESULT __stdcall GetSemTables(IHostSemTables** result) = 0;  // 14
};

struct IHostSemTables : public IDispatch {
    virtual HRESULT __stdcall GetCount(LONG* result) = 0;                       // 1
    virtual HRESULT __stdcall GetItem(LONG index, IHostSemTable** result) = 0;  // 2
};

struct IHostSemTable : public IDispatch {
    KAVREL_RESERVED(1);
    virtual HRESULT __stdcall GetName(BSTR* result) = 0;  // 2
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    KAVREL_RESERVED(6);
    KAVREL_RESERVED(7);
    virtual HRESULT __stdcall GetFields(IHostSemFields** result) = 0;  // 8
};

struct IHostSemFields : public IDispatch {
    virtual HRESULT __stdcall GetCount(LONG* result) = 0;                          // 1
    virtual HRESULT __stdcall GetItem(VARIANT index, IHostSemField** result) = 0;  // 2
};

struct IHostSemField : public IDispatch {
    virtual HRESULT __stdcall GetName(BSTR* result) = 0;  // 1
};

struct IHostPreferences : public IDispatch {
    virtual HRESULT __stdcall ReadString(LONG reserved1, LONG reserved2, BSTR key,
                                         BSTR default_value,
                                         BSTR* result) = 0;  // 1
    virtual HRESULT __stdcall WriteString(LONG reserved1, LONG reserved2, BSTR key,
                                          BSTR value) = 0;  // 2
};

struct IHostMapObjects : public IDispatch {
    virtual HRESULT __stdcall GetObject(BSTR object_id, IHostMapObject** result) = 0;  // 1
    KAVREL_RESERVED(2);
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    virtual HRESULT __stdcall CommitChanges() = 0;  // 6
    KAVREL_RESERVED(7);
    KAVREL_RESERVED(8);
    KAVREL_RESERVED(9);
    KAVREL_RESERVED(10);
    KAVREL_RESERVED(11);
    virtual HRESULT __stdcall QueryInRect(VARIANT layer_id, double xmin, double ymin, double xmax,
                                          double ymax, LONG options,
                                          IHostQueryCursor** result) = 0;  // 12
};

struct IHostQueryCursor : public IDispatch {
    KAVREL_RESERVED(1);
    virtual HRESULT __stdcall FetchNext(BSTR* a, BSTR* id, LONG* v) = 0;  // 2
    virtual HRESULT __stdcall Eof(VARIANT_BOOL* result) = 0;              // 3
};

struct IHostMapObject : public IDispatch {
    KAVREL_RESERVED(1);
    KAVREL_RESERVED(2);
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    virtual HRESULT __stdcall GetShapes(IHostShapes** result) = 0;        // 6
    virtual HRESULT __stdcall GetSemantics(IHostSemantics** result) = 0;  // 7
    KAVREL_RESERVED(8);
    KAVREL_RESERVED(9);
    KAVREL_RESERVED(10);
    KAVREL_RESERVED(11);
    KAVREL_RESERVED(12);
    KAVREL_RESERVED(13);
    KAVREL_RESERVED(14);
    KAVREL_RESERVED(15);
    virtual HRESULT __stdcall ExpandTemplate(BSTR template_text, BSTR* result) = 0;  // 16
};

struct IHostSemantics : public IDispatch {
    KAVREL_RESERVED(1);
    KAVREL_RESERVED(2);
    virtual HRESULT __stdcall SetValue(BSTR table, BSTR field, VARIANT value,
                                       LONG options) = 0;  // 3
};

struct IHostShapes : public IDispatch {
    virtual HRESULT __stdcall GetCount(LONG* result) = 0;                    // 1
    virtual HRESULT __stdcall GetItem(LONG index, IHostShape** result) = 0;  // 2
    KAVREL_RESERVED(3);
    virtual HRESULT __stdcall Insert(LONG index, BSTR style_id, IHostShape** result) = 0;  // 4
    virtual HRESULT __stdcall Clear() = 0;                                                 // 5
};

struct IHostShape : public IDispatch {
    virtual HRESULT __stdcall GetContour(IHostContour** result) = 0;  // 1
    virtual HRESULT __stdcall GetStyleId(BSTR* result) = 0;           // 2
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    KAVREL_RESERVED(6);
    KAVREL_RESERVED(7);
    virtual HRESULT __stdcall GetFlag(VARIANT_BOOL* result) = 0;  // 8
};

struct IHostContour : public IDispatch {
    virtual HRESULT __stdcall GetCount(LONG* result) = 0;                          // 1
    virtual HRESULT __stdcall GetPart(LONG index, IHostContourPart** result) = 0;  // 2
    KAVREL_RESERVED(3);
    virtual HRESULT __stdcall InsertPart(LONG index, IHostContourPart** result) = 0;  // 4
};

struct IHostContourPart : public IDispatch {
    virtual HRESULT __stdcall GetCount(LONG* result) = 0;                                  // 1
    virtual HRESULT __stdcall GetVertex(LONG index, double* x, double* y, double* c) = 0;  // 2
    virtual HRESULT __stdcall SetVertex(LONG index, double x, double y, double c) = 0;     // 3
    virtual HRESULT __stdcall InsertVertex(LONG index, double x, double y, double c) = 0;  // 4
};

// ---------------------------------------------------------------------------
// SDK layer (IUnknown-derived, position p = vtable slot 2 + p)
// ---------------------------------------------------------------------------

struct IM2AddOnManager : public IUnknown {
    virtual HRESULT __stdcall GetMainWindowHandle(HWND* result) = 0;  // 1
};

struct IM2GISDatabase : public IUnknown {
    KAVREL_RESERVED(1);
    KAVREL_RESERVED(2);
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    virtual HRESULT __stdcall GetMapInfo(const kavrel::M2Id* map_id,
                                         kavrel::M2DescRecord* info) = 0;  // 6
    KAVREL_RESERVED(7);
    virtual HRESULT __stdcall GetLayerInfo(const kavrel::M2Id* layer_id,
                                           kavrel::M2DescRecord* info) = 0;  // 8
    virtual HRESULT __stdcall GetStyleIds(const kavrel::M2Id* layer_id,
                                          IM2IDsList** result) = 0;  // 9
    virtual HRESULT __stdcall GetStyle(const kavrel::M2Id* style_id,
                                       IHostM2Style** result) = 0;  // 10
};

struct IM2MapProject : public IUnknown {
    KAVREL_RESERVED(1);
    KAVREL_RESERVED(2);
    KAVREL_RESERVED(3);
    KAVREL_RESERVED(4);
    KAVREL_RESERVED(5);
    KAVREL_RESERVED(6);
    KAVREL_RESERVED(7);
    virtual HRESULT __stdcall GetMapIds(IM2IDsList** result) = 0;  // 8
    virtual HRESULT __stdcall GetLayerIds(const kavrel::M2Id* map_id,
                                          IM2IDsList** result) = 0;  // 9
};

// Taken at connection and kept, never called.
struct IM2MapObjects : public IUnknown {};
struct IM2MapView : public IUnknown {};
struct IM2GeometryLib : public IUnknown {};
struct IM2Preferences : public IUnknown {};

struct IM2IDsList : public IUnknown {
    virtual HRESULT __stdcall GetItem(LONG index, kavrel::M2Id* id) = 0;  // 1
    virtual HRESULT __stdcall GetCount(LONG* result) = 0;                 // 2
};

struct IHostM2Style : public IUnknown {
    KAVREL_RESERVED(1);
    KAVREL_RESERVED(2);
    virtual HRESULT __stdcall GetName(kavrel::M2StyleName* name) = 0;  // 3
};

struct IHostErrorInfo : public IUnknown {
    virtual HRESULT __stdcall SetError(const kavrel::M2Text255* source,
                                       const kavrel::M2Text255* message) = 0;                // 1
    virtual HRESULT __stdcall GetLastError(kavrel::M2Text255* a, kavrel::M2Text255* b) = 0;  // 2
};

// ---------------------------------------------------------------------------
// The add-on's side: what the host calls
// ---------------------------------------------------------------------------

struct IM2MacroAttrsList : public IUnknown {
    virtual HRESULT __stdcall GetItem(LONG index, kavrel::MacroAttrs* item) = 0;       // slot 3
    virtual HRESULT __stdcall GetCount(LONG* result) = 0;                              // slot 4
    virtual HRESULT __stdcall Clear() = 0;                                             // slot 5
    virtual HRESULT __stdcall Insert(LONG index, const kavrel::MacroAttrs* item) = 0;  // slot 6
};

struct IHostAddOn : public IUnknown {
    virtual HRESULT __stdcall GetInfo(kavrel::AddOnInfo* info) = 0;             // slot 3
    virtual HRESULT __stdcall Connect(IUnknown* host) = 0;                      // slot 4
    virtual HRESULT __stdcall Disconnect() = 0;                                 // slot 5
    virtual HRESULT __stdcall GetMacroAttrs(IM2MacroAttrsList** result) = 0;    // slot 6
    virtual HRESULT __stdcall ExecuteMacro(LONG id, LONG param) = 0;            // slot 7
    virtual HRESULT __stdcall Notify(LONG code, LONG param) = 0;                // slot 8
    virtual HRESULT __stdcall SaveBitmap(IStream* stream, HBITMAP bitmap) = 0;  // slot 9
};

#undef KAVREL_RESERVED

// ---------------------------------------------------------------------------
// Interface identifiers. Those the host publishes are used as given; the host
// chooses its own for the others (the stand-in host's are below).
// ---------------------------------------------------------------------------
#define KAVREL_SDK_IID(type, nn)                                                                  \
    __CRT_UUID_DECL(type, 0xC8F844##nn, 0x1878, 0x11D0, 0x9D, 0xF1, 0x44, 0x45, 0x53, 0x54, 0x00, \
                    0x00)

KAVREL_SDK_IID(IM2AddOnManager, 11)
KAVREL_SDK_IID(IM2GISDatabase, 12)
KAVREL_SDK_IID(IM2MapProject, 13)
KAVREL_SDK_IID(IM2MapObjects, 14)
KAVREL_SDK_IID(IM2MapView, 15)
KAVREL_SDK_IID(IHostErrorInfo, 16)
KAVREL_SDK_IID(IM2GeometryLib, 17)
KAVREL_SDK_IID(IM2Preferences, 18)
KAVREL_SDK_IID(IM2IDsList, 41)
KAVREL_SDK_IID(IM2MacroAttrsList, 42)
KAVREL_SDK_IID(IHostAddOn, A1)
#undef KAVREL_SDK_IID

__CRT_UUID_DECL(IHostApplication, 0x8D1AFC63, 0x603C, 0x11D3, 0x96, 0x32, 0x00, 0x00, 0x21, 0xC6,
                0xD8, 0x45)
__CRT_UUID_DECL(IHostMapObjects, 0x87B87C51, 0x9BFA, 0x11D3, 0x96, 0x8D, 0x00, 0x00, 0x21, 0xC6,
                0xD8, 0x45)
__CRT_UUID_DECL(IHostContour, 0x87B87C59, 0x9BFA, 0x11D3, 0x96, 0x8D, 0x00, 0x00, 0x21, 0xC6, 0xD8,
                0x45)
__CRT_UUID_DECL(IHostShapes, 0x22E8EF11, 0x9C1E, 0x11D3, 0x96, 0x8D, 0x00, 0x00, 0x21, 0xC6, 0xD8,
                0x45)
__CRT_UUID_DECL(IHostShape, 0x22E8EF13, 0x9C1E, 0x11D3, 0x96, 0x8D, 0x00, 0x00, 0x21, 0xC6, 0xD8,
                0x45)
__CRT_UUID_DECL(IHostTaskPanel, 0x65D4DF96, 0x6BC1, 0x4751, 0x87, 0xFB, 0x5B, 0x5F, 0xF3, 0xA1,
                0x48, 0x09)

// Identifiers of the stand-in host's own choosing, one family:
// {4B415600-nnnn-4B41-9D52-4556454C484F}.
#define KAVREL_HOST_IID(type, nn)                                                                 \
    __CRT_UUID_DECL(type, 0x4B415600, 0x00##nn, 0x4B41, 0x9D, 0x52, 0x45, 0x56, 0x45, 0x4C, 0x48, \
                    0x4F)
KAVREL_HOST_IID(IHostMainWindow, 01)
KAVREL_HOST_IID(IHostMapWindow, 02)
KAVREL_HOST_IID(IHostSelection, 03)
KAVREL_HOST_IID(IHostDatabase, 04)
KAVREL_HOST_IID(IHostStyle, 05)
KAVREL_HOST_IID(IHostLayer, 06)
KAVREL_HOST_IID(IHostSemTables, 07)
KAVREL_HOST_IID(IHostSemTable, 08)
KAVREL_HOST_IID(IHostSemFields, 09)
KAVREL_HOST_IID(IHostSemField, 10)
KAVREL_HOST_IID(IHostPreferences, 11)
KAVREL_HOST_IID(IHostQueryCursor, 12)
KAVREL_HOST_IID(IHostMapObject, 13)
KAVREL_HOST_IID(IHostSemantics, 14)
KAVREL_HOST_IID(IHostContourPart, 15)
KAVREL_HOST_IID(IHostM2Style, 16)
#undef KAVREL_HOST_IID

namespace kavrel {

// The add-on's COM class.
// {9EA2AFB5-68F6-4A9D-B4AB-6105CAB43761}
inline constexpr GUID kAddonClassId = {
    0x9EA2AFB5, 0x68F6, 0x4A9D, {0xB4, 0xAB, 0x61, 0x05, 0xCA, 0xB4, 0x37, 0x61}};

// Private window message the editor panel posts to itself to let its task panel go.
inline constexpr UINT WM_RELEASEPANEL = 0x401;

}  // namespace kavrel
