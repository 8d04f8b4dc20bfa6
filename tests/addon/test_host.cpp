#include "tests/addon/test_host.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <algorithm>
#include <cstring>

#include "base/bstr.h"
#include "base/handle_casts.h"

namespace kavrel::test {

std::u16string FromCp1251(const M2Text255& text) {
    const int length = text.bytes[0];
    if (length == 0) {
        return {};
    }
    std::u16string wide(static_cast<std::size_t>(length), u'\0');
    const int written =
        MultiByteToWideChar(1251, 0, reinterpret_cast<const char*>(text.bytes + 1), length,
                            reinterpret_cast<wchar_t*>(wide.data()), length);
    wide.resize(static_cast<std::size_t>(written));
    return wide;
}

std::string ToCp1251(std::u16string_view text) {
    if (text.empty()) {
        return {};
    }
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    std::string bytes(static_cast<std::size_t>(size) * 2, '\0');
    const int written =
        WideCharToMultiByte(1251, 0, wide, size, bytes.data(), size * 2, nullptr, nullptr);
    bytes.resize(static_cast<std::size_t>(written));
    return bytes;
}

void FillShortString(M2Text255& field, std::u16string_view text) {
    const std::string bytes = ToCp1251(text);
    std::memset(field.bytes, 0, sizeof field.bytes);
    field.bytes[0] = static_cast<std::uint8_t>(std::min<std::size_t>(bytes.size(), 255));
    std::memcpy(field.bytes + 1, bytes.data(), field.bytes[0]);
}

namespace {

HRESULT Unexpected(const char* what) {
    ADD_FAILURE() << "the add-on called " << what;
    return E_NOTIMPL;
}

}  // namespace

// --- TestTaskPanel -----------------------------------------------------------

HRESULT __stdcall TestTaskPanel::Reserved1() {
    return Unexpected("IHostTaskPanel position 1");
}
HRESULT __stdcall TestTaskPanel::Reserved2() {
    return Unexpected("IHostTaskPanel position 2");
}
HRESULT __stdcall TestTaskPanel::Reserved3() {
    return Unexpected("IHostTaskPanel position 3");
}
HRESULT __stdcall TestTaskPanel::Reserved4() {
    return Unexpected("IHostTaskPanel position 4");
}
HRESULT __stdcall TestTaskPanel::Show() {
    ++host_.show_calls;
    return S_OK;
}
HRESULT __stdcall TestTaskPanel::GetWindowHandle(LONG* result) {
    ++host_.window_handle_calls;
    *result = WindowToLong(host_.task_panel_window);
    return S_OK;
}

// --- TestMainWindow ----------------------------------------------------------

HRESULT __stdcall TestMainWindow::Reserved1() {
    return Unexpected("IHostMainWindow position 1");
}
HRESULT __stdcall TestMainWindow::GetMapWindow(IHostMapWindow**) {
    return Unexpected("IHostMainWindow.GetMapWindow");
}
HRESULT __stdcall TestMainWindow::Reserved3() {
    return Unexpected("IHostMainWindow position 3");
}
HRESULT __stdcall TestMainWindow::Reserved4() {
    return Unexpected("IHostMainWindow position 4");
}
HRESULT __stdcall TestMainWindow::Reserved5() {
    return Unexpected("IHostMainWindow position 5");
}
HRESULT __stdcall TestMainWindow::GetTaskPanel(BSTR key, BSTR caption, IHostTaskPanel** result) {
    *result = nullptr;
    host_.task_panel_requests.emplace_back(BstrText(key), BstrText(caption));
    if (FAILED(host_.task_panel_status)) {
        return host_.task_panel_status;
    }
    *result = &host_.task_panel_object;
    (*result)->AddRef();
    return S_OK;
}

// --- TestPreferences, TestDatabase, TestMapObjects ----------------------------

HRESULT __stdcall TestPreferences::ReadString(LONG, LONG, BSTR key, BSTR default_value,
                                              BSTR* result) {
    read_keys.push_back(BstrText(key));
    *result = SysAllocStringLen(default_value, SysStringLen(default_value));
    return *result || !default_value ? S_OK : E_OUTOFMEMORY;
}
HRESULT __stdcall TestPreferences::WriteString(LONG, LONG, BSTR key, BSTR value) {
    written.emplace_back(BstrText(key), BstrText(value));
    return S_OK;
}

HRESULT __stdcall TestMapObjects::GetObject(BSTR, IHostMapObject**) {
    return Unexpected("IHostMapObjects.GetObject");
}
HRESULT __stdcall TestMapObjects::CommitChanges() {
    return Unexpected("IHostMapObjects.CommitChanges");
}
HRESULT __stdcall TestMapObjects::QueryInRect(VARIANT, double, double, double, double, LONG,
                                              IHostQueryCursor**) {
    return Unexpected("IHostMapObjects.QueryInRect");
}

HRESULT __stdcall TestDatabase::StyleExists(BSTR, VARIANT_BOOL*) {
    return Unexpected("IHostDatabase.StyleExists");
}
HRESULT __stdcall TestDatabase::GetStyle(BSTR, IHostStyle**) {
    return Unexpected("IHostDatabase.GetStyle");
}
HRESULT __stdcall TestDatabase::GetMapObjects(IHostMapObjects** result) {
    *result = &host_.map_objects_object;
    (*result)->AddRef();
    return S_OK;
}

#define KAVREL_TEST_UNEXPECTED(type, p)           \
    HRESULT __stdcall type::Reserved##p() {       \
        return Unexpected(#type " position " #p); \
    }
KAVREL_TEST_UNEXPECTED(TestMapObjects, 2)
KAVREL_TEST_UNEXPECTED(TestMapObjects, 3)
KAVREL_TEST_UNEXPECTED(TestMapObjects, 4)
KAVREL_TEST_UNEXPECTED(TestMapObjects, 5)
KAVREL_TEST_UNEXPECTED(TestMapObjects, 7)
KAVREL_TEST_UNEXPECTED(TestMapObjects, 8)
KAVREL_TEST_UNEXPECTED(TestMapObjects, 9)
KAVREL_TEST_UNEXPECTED(TestMapObjects, 10)
KAVREL_TEST_UNEXPECTED(TestMapObjects, 11)
KAVREL_TEST_UNEXPECTED(TestDatabase, 1)
KAVREL_TEST_UNEXPECTED(TestDatabase, 2)
KAVREL_TEST_UNEXPECTED(TestDatabase, 3)
KAVREL_TEST_UNEXPECTED(TestDatabase, 4)
KAVREL_TEST_UNEXPECTED(TestDatabase, 5)
KAVREL_TEST_UNEXPECTED(TestDatabase, 6)
KAVREL_TEST_UNEXPECTED(TestDatabase, 7)
KAVREL_TEST_UNEXPECTED(TestDatabase, 8)
KAVREL_TEST_UNEXPECTED(TestDatabase, 9)
KAVREL_TEST_UNEXPECTED(TestDatabase, 10)
KAVREL_TEST_UNEXPECTED(TestDatabase, 13)
KAVREL_TEST_UNEXPECTED(TestDatabase, 14)
KAVREL_TEST_UNEXPECTED(TestDatabase, 15)
KAVREL_TEST_UNEXPECTED(TestDatabase, 16)
KAVREL_TEST_UNEXPECTED(TestDatabase, 17)
KAVREL_TEST_UNEXPECTED(TestDatabase, 18)
#undef KAVREL_TEST_UNEXPECTED

// --- TestHost ----------------------------------------------------------------

TestHost::TestHost() = default;

namespace {
std::vector<TestHost*>& Hosts() {
    static std::vector<TestHost*> hosts;
    return hosts;
}
}  // namespace

TestHost& NewHost() {
    Hosts().push_back(new TestHost());
    return *Hosts().back();
}

const std::vector<TestHost*>& AllHosts() {
    return Hosts();
}

HRESULT __stdcall TestHost::QueryInterface(REFIID iid, void** object) {
    *object = nullptr;
    queried.push_back(iid);
    for (const IID& refused : unsupported) {
        if (IsEqualIID(iid, refused)) {
            return E_NOINTERFACE;
        }
    }
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, __uuidof(IHostErrorInfo))) {
        *object = static_cast<IHostErrorInfo*>(this);
    } else if (IsEqualIID(iid, __uuidof(IM2AddOnManager))) {
        *object = static_cast<IM2AddOnManager*>(this);
    } else if (IsEqualIID(iid, __uuidof(IM2GISDatabase))) {
        *object = static_cast<IM2GISDatabase*>(this);
    } else if (IsEqualIID(iid, __uuidof(IM2MapProject))) {
        *object = static_cast<IM2MapProject*>(this);
    } else if (IsEqualIID(iid, __uuidof(IM2MapObjects))) {
        *object = static_cast<IM2MapObjects*>(this);
    } else if (IsEqualIID(iid, __uuidof(IM2MapView))) {
        *object = static_cast<IM2MapView*>(this);
    } else if (IsEqualIID(iid, __uuidof(IM2GeometryLib))) {
        *object = static_cast<IM2GeometryLib*>(this);
    } else if (IsEqualIID(iid, __uuidof(IM2Preferences))) {
        *object = static_cast<IM2Preferences*>(this);
    } else if (IsEqualIID(iid, __uuidof(IHostApplication)) || IsEqualIID(iid, IID_IDispatch)) {
        *object = static_cast<IHostApplication*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT __stdcall TestHost::SetError(const M2Text255* source, const M2Text255* message) {
    errors.emplace_back(FromCp1251(*source), FromCp1251(*message));
    return S_OK;
}

HRESULT __stdcall TestHost::GetLastError(M2Text255* a, M2Text255* b) {
    if (FAILED(last_error_status)) {
        return last_error_status;
    }
    FillShortString(*a, last_error_a);
    FillShortString(*b, last_error_b);
    return S_OK;
}

HRESULT __stdcall TestHost::GetMainWindowHandle(HWND* result) {
    ++main_window_handle_calls;
    *result = SUCCEEDED(main_window_status) ? main_window : nullptr;
    return main_window_status;
}

HRESULT __stdcall TestHost::GetMapInfo(const M2Id*, M2DescRecord*) {
    return Unexpected("IM2GISDatabase.GetMapInfo");
}
HRESULT __stdcall TestHost::GetLayerInfo(const M2Id*, M2DescRecord*) {
    return Unexpected("IM2GISDatabase.GetLayerInfo");
}
HRESULT __stdcall TestHost::GetStyleIds(const M2Id*, IM2IDsList**) {
    return Unexpected("IM2GISDatabase.GetStyleIds");
}
HRESULT __stdcall TestHost::GetStyle(const M2Id*, IHostM2Style**) {
    return Unexpected("IM2GISDatabase.GetStyle");
}
HRESULT __stdcall TestHost::GetMapIds(IM2IDsList**) {
    return Unexpected("IM2MapProject.GetMapIds");
}
HRESULT __stdcall TestHost::GetLayerIds(const M2Id*, IM2IDsList**) {
    return Unexpected("IM2MapProject.GetLayerIds");
}
HRESULT __stdcall TestHost::GetTypeInfoCount(UINT*) {
    return Unexpected("IDispatch");
}
HRESULT __stdcall TestHost::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return Unexpected("IDispatch");
}
HRESULT __stdcall TestHost::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return Unexpected("IDispatch");
}
HRESULT __stdcall TestHost::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) {
    return Unexpected("IDispatch");
}
HRESULT __stdcall TestHost::GetMainWindow(IHostMainWindow** result) {
    ++get_main_window_calls;
    *result = &main_window_object;
    (*result)->AddRef();
    return S_OK;
}
HRESULT __stdcall TestHost::GetSelection(IHostSelection**) {
    return Unexpected("IHostApplication.GetSelection");
}
HRESULT __stdcall TestHost::GetDatabase(IHostDatabase** result) {
    *result = &database_object;
    (*result)->AddRef();
    return S_OK;
}
HRESULT __stdcall TestHost::GetPreferences(IHostPreferences** result) {
    *result = &preferences_object;
    (*result)->AddRef();
    return S_OK;
}
HRESULT __stdcall TestHost::Reserved1() {
    return Unexpected("a placeholder position");
}
HRESULT __stdcall TestHost::Reserved2() {
    return Unexpected("a placeholder position");
}
HRESULT __stdcall TestHost::Reserved3() {
    return Unexpected("a placeholder position");
}
HRESULT __stdcall TestHost::Reserved4() {
    return Unexpected("a placeholder position");
}
HRESULT __stdcall TestHost::Reserved5() {
    return Unexpected("a placeholder position");
}
HRESULT __stdcall TestHost::Reserved6() {
    return Unexpected("a placeholder position");
}
HRESULT __stdcall TestHost::Reserved7() {
    return Unexpected("a placeholder position");
}

// --- RecordingStream ---------------------------------------------------------

HRESULT __stdcall RecordingStream::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) ||
        IsEqualIID(iid, IID_IStream)) {
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}
HRESULT __stdcall RecordingStream::Write(const void* data, ULONG size, ULONG* written) {
    const int index = static_cast<int>(writes.size());
    const auto* bytes = static_cast<const BYTE*>(data);
    if (index == fail_write) {
        writes.emplace_back();
        return STG_E_WRITEFAULT;
    }
    const ULONG taken = index == short_write && size > 0 ? size - 1 : size;
    writes.emplace_back(bytes, bytes + taken);
    if (written) {
        *written = taken;
    }
    return S_OK;
}
HRESULT __stdcall RecordingStream::Read(void*, ULONG, ULONG*) {
    return Unexpected("IStream.Read");
}
HRESULT __stdcall RecordingStream::Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) {
    return Unexpected("IStream.Seek");
}
HRESULT __stdcall RecordingStream::SetSize(ULARGE_INTEGER) {
    return Unexpected("IStream.SetSize");
}
HRESULT __stdcall RecordingStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                          ULARGE_INTEGER*) {
    return Unexpected("IStream.CopyTo");
}
HRESULT __stdcall RecordingStream::Commit(DWORD) {
    return Unexpected("IStream.Commit");
}
HRESULT __stdcall RecordingStream::Revert() {
    return Unexpected("IStream.Revert");
}
HRESULT __stdcall RecordingStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
    return Unexpected("IStream.LockRegion");
}
HRESULT __stdcall RecordingStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) {
    return Unexpected("IStream.UnlockRegion");
}
HRESULT __stdcall RecordingStream::Stat(STATSTG*, DWORD) {
    return Unexpected("IStream.Stat");
}
HRESULT __stdcall RecordingStream::Clone(IStream**) {
    return Unexpected("IStream.Clone");
}

}  // namespace kavrel::test
