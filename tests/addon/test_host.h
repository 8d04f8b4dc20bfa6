// A host object for driving the add-on through COM as the GIS host does: it
// hands out the error channel, the seven SDK interfaces and the application
// object, and records every call the add-on makes. Calls the add-on has no
// business making fail the running test.
#pragma once

#include "gis/host_api.h"

#include <string>
#include <utility>
#include <vector>

namespace kavrel::test {

// UTF-16 of a short string, decoded with the system's code page 1251 tables.
std::u16string FromCp1251(const M2Text255& text);
// Code page 1251 bytes of a text, encoded by the system.
std::string ToCp1251(std::u16string_view text);
// Fills a 256-byte short string from a text.
void FillShortString(M2Text255& field, std::u16string_view text);

class TestHost;

// Reference counting and IDispatch of the host's automation objects; the
// counts tell whether the add-on let go.
template <typename I>
class TestAutomationObject : public I {
  public:
    HRESULT __stdcall QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
            IsEqualIID(iid, __uuidof(I))) {
            *object = static_cast<I*>(this);
            this->AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG __stdcall AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG __stdcall Release() override { return static_cast<ULONG>(--refs_); }
    HRESULT __stdcall GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT __stdcall GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT __stdcall GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT __stdcall Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                             UINT*) override {
        return E_NOTIMPL;
    }

    LONG refs_ = 0;
};

// Placeholder positions the add-on must never call.
#define KAVREL_TEST_UNEXPECTED(p) HRESULT __stdcall Reserved##p() override;

class TestTaskPanel final : public TestAutomationObject<IHostTaskPanel> {
  public:
    explicit TestTaskPanel(TestHost& host) : host_(host) {}
    KAVREL_TEST_UNEXPECTED(1)
    KAVREL_TEST_UNEXPECTED(2)
    KAVREL_TEST_UNEXPECTED(3)
    KAVREL_TEST_UNEXPECTED(4)
    HRESULT __stdcall Show() override;
    HRESULT __stdcall GetWindowHandle(LONG* result) override;

  private:
    TestHost& host_;
};

class TestMainWindow final : public TestAutomationObject<IHostMainWindow> {
  public:
    explicit TestMainWindow(TestHost& host) : host_(host) {}
    KAVREL_TEST_UNEXPECTED(1)
    KAVREL_TEST_UNEXPECTED(3)
    KAVREL_TEST_UNEXPECTED(4)
    KAVREL_TEST_UNEXPECTED(5)
    HRESULT __stdcall GetMapWindow(IHostMapWindow** result) override;
    HRESULT __stdcall GetTaskPanel(BSTR key, BSTR caption, IHostTaskPanel** result) override;

  private:
    TestHost& host_;
};

// The preference store: every read answers the default, writes are kept.
class TestPreferences final : public TestAutomationObject<IHostPreferences> {
  public:
    HRESULT __stdcall ReadString(LONG, LONG, BSTR key, BSTR default_value, BSTR* result) override;
    HRESULT __stdcall WriteString(LONG, LONG, BSTR key, BSTR value) override;

    std::vector<std::u16string> read_keys;
    std::vector<std::pair<std::u16string, std::u16string>> written;
};

// A map-objects collection the add-on may keep but not use here.
class TestMapObjects final : public TestAutomationObject<IHostMapObjects> {
  public:
    HRESULT __stdcall GetObject(BSTR, IHostMapObject**) override;
    HRESULT __stdcall CommitChanges() override;
    HRESULT __stdcall QueryInRect(VARIANT, double, double, double, double, LONG,
                                  IHostQueryCursor**) override;
    KAVREL_TEST_UNEXPECTED(2)
    KAVREL_TEST_UNEXPECTED(3)
    KAVREL_TEST_UNEXPECTED(4)
    KAVREL_TEST_UNEXPECTED(5)
    KAVREL_TEST_UNEXPECTED(7)
    KAVREL_TEST_UNEXPECTED(8)
    KAVREL_TEST_UNEXPECTED(9)
    KAVREL_TEST_UNEXPECTED(10)
    KAVREL_TEST_UNEXPECTED(11)
};

class TestDatabase final : public TestAutomationObject<IHostDatabase> {
  public:
    explicit TestDatabase(TestHost& host) : host_(host) {}
    HRESULT __stdcall StyleExists(BSTR, VARIANT_BOOL*) override;
    HRESULT __stdcall GetStyle(BSTR, IHostStyle**) override;
    HRESULT __stdcall GetMapObjects(IHostMapObjects** result) override;
    KAVREL_TEST_UNEXPECTED(1)
    KAVREL_TEST_UNEXPECTED(2)
    KAVREL_TEST_UNEXPECTED(3)
    KAVREL_TEST_UNEXPECTED(4)
    KAVREL_TEST_UNEXPECTED(5)
    KAVREL_TEST_UNEXPECTED(6)
    KAVREL_TEST_UNEXPECTED(7)
    KAVREL_TEST_UNEXPECTED(8)
    KAVREL_TEST_UNEXPECTED(9)
    KAVREL_TEST_UNEXPECTED(10)
    KAVREL_TEST_UNEXPECTED(13)
    KAVREL_TEST_UNEXPECTED(14)
    KAVREL_TEST_UNEXPECTED(15)
    KAVREL_TEST_UNEXPECTED(16)
    KAVREL_TEST_UNEXPECTED(17)
    KAVREL_TEST_UNEXPECTED(18)

  private:
    TestHost& host_;
};

#undef KAVREL_TEST_UNEXPECTED

// One object with every interface the add-on takes at connection. Its
// lifetime is the test's; the counts tell whether the add-on let go.
class TestHost final : public IHostErrorInfo,
                       public IM2AddOnManager,
                       public IM2GISDatabase,
                       public IM2MapProject,
                       public IM2MapObjects,
                       public IM2MapView,
                       public IM2GeometryLib,
                       public IM2Preferences,
                       public IHostApplication {
  public:
    TestHost();

    IUnknown* Unknown() { return static_cast<IHostErrorInfo*>(this); }

    // --- what the host answers
    std::vector<IID> unsupported;  // interfaces QueryInterface refuses
    HWND main_window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x10020));
    HRESULT main_window_status = S_OK;
    HRESULT last_error_status = S_OK;
    std::u16string last_error_a;
    std::u16string last_error_b;
    HRESULT task_panel_status = S_OK;  // answered without error information
    HWND task_panel_window = nullptr;

    // --- what the add-on did
    std::vector<std::pair<std::u16string, std::u16string>> errors;  // SetError(source, message)
    std::vector<IID> queried;
    int main_window_handle_calls = 0;
    int get_main_window_calls = 0;
    std::vector<std::pair<std::u16string, std::u16string>> task_panel_requests;
    int window_handle_calls = 0;
    int show_calls = 0;
    LONG refs = 0;

    TestMainWindow main_window_object{*this};
    TestTaskPanel task_panel_object{*this};
    TestPreferences preferences_object;
    TestMapObjects map_objects_object;
    TestDatabase database_object{*this};

    HRESULT __stdcall QueryInterface(REFIID iid, void** object) override;
    ULONG __stdcall AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG __stdcall Release() override { return static_cast<ULONG>(--refs); }

    // IHostErrorInfo
    HRESULT __stdcall SetError(const M2Text255* source, const M2Text255* message) override;
    HRESULT __stdcall GetLastError(M2Text255* a, M2Text255* b) override;
    // IM2AddOnManager
    HRESULT __stdcall GetMainWindowHandle(HWND* result) override;
    // IM2GISDatabase, IM2MapProject: not used by the frame
    HRESULT __stdcall GetMapInfo(const M2Id*, M2DescRecord*) override;
    HRESULT __stdcall GetLayerInfo(const M2Id*, M2DescRecord*) override;
    HRESULT __stdcall GetStyleIds(const M2Id*, IM2IDsList**) override;
    HRESULT __stdcall GetStyle(const M2Id*, IHostM2Style**) override;
    HRESULT __stdcall GetMapIds(IM2IDsList**) override;
    HRESULT __stdcall GetLayerIds(const M2Id*, IM2IDsList**) override;
    // IHostApplication
    HRESULT __stdcall GetTypeInfoCount(UINT*) override;
    HRESULT __stdcall GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT __stdcall GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT __stdcall Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                             UINT*) override;
    HRESULT __stdcall GetMainWindow(IHostMainWindow** result) override;
    HRESULT __stdcall GetSelection(IHostSelection**) override;
    HRESULT __stdcall GetDatabase(IHostDatabase**) override;
    HRESULT __stdcall GetPreferences(IHostPreferences**) override;
    // Placeholders of every interface above.
    HRESULT __stdcall Reserved1() override;
    HRESULT __stdcall Reserved2() override;
    HRESULT __stdcall Reserved3() override;
    HRESULT __stdcall Reserved4() override;
    HRESULT __stdcall Reserved5() override;
    HRESULT __stdcall Reserved6() override;
    HRESULT __stdcall Reserved7() override;

    // Every object of this host that the add-on may hold.
    LONG HeldReferences() const {
        return refs + main_window_object.refs_ + task_panel_object.refs_ +
               preferences_object.refs_ + map_objects_object.refs_ + database_object.refs_;
    }
};

// A new host object. Hosts live until the process ends: the add-on keeps the
// application reference of the last host that asked for its command list
// until the library is unloaded.
TestHost& NewHost();
// Every host made so far.
const std::vector<TestHost*>& AllHosts();

// A host stream that records each Write and can be told to fail.
class RecordingStream final : public IStream {
  public:
    std::vector<std::vector<BYTE>> writes;
    int fail_write = -1;   // index of the Write call that fails, -1 none
    int short_write = -1;  // index of the Write call that writes one byte less
    LONG refs = 0;

    HRESULT __stdcall QueryInterface(REFIID iid, void** object) override;
    ULONG __stdcall AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG __stdcall Release() override { return static_cast<ULONG>(--refs); }
    HRESULT __stdcall Read(void*, ULONG, ULONG*) override;
    HRESULT __stdcall Write(const void* data, ULONG size, ULONG* written) override;
    HRESULT __stdcall Seek(LARGE_INTEGER, DWORD, ULARGE_INTEGER*) override;
    HRESULT __stdcall SetSize(ULARGE_INTEGER) override;
    HRESULT __stdcall CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override;
    HRESULT __stdcall Commit(DWORD) override;
    HRESULT __stdcall Revert() override;
    HRESULT __stdcall LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
    HRESULT __stdcall UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override;
    HRESULT __stdcall Stat(STATSTG*, DWORD) override;
    HRESULT __stdcall Clone(IStream**) override;
};

}  // namespace kavrel::test
