// The add-on driven through COM as the GIS host drives it: activation and the
// server's counts, the records, the command list, connection, commands and the
// error channel.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "base/com_ptr.h"
#include "base/handle_casts.h"
#include "gis/host_api.h"
#include "host/com/host_context.h"
#include "tests/addon/addon_env.h"
#include "tests/addon/test_host.h"

namespace kavrel::test {
namespace {

// Bytes of a short string field of the given capacity.
std::vector<BYTE> Field(std::size_t capacity, std::u16string_view text) {
    const std::string bytes = ToCp1251(text);
    std::vector<BYTE> field(capacity + 1, 0);
    field[0] = static_cast<BYTE>(bytes.size());
    std::memcpy(field.data() + 1, bytes.data(), bytes.size());
    return field;
}

template <typename Record>
std::vector<BYTE> Slice(const Record& record, std::size_t offset, std::size_t size) {
    const auto* bytes = reinterpret_cast<const BYTE*>(&record);
    return std::vector<BYTE>(bytes + offset, bytes + offset + size);
}

std::int32_t Int32At(const void* record, std::size_t offset) {
    std::int32_t value;
    std::memcpy(&value, static_cast<const BYTE*>(record) + offset, sizeof value);
    return value;
}

// ---------------------------------------------------------------------------
// Activation and the server's counts
// ---------------------------------------------------------------------------

TEST(Activation, CreatedByClassIdWithItsInterfaces) {
    ComPtr<IHostAddOn> addon = CreateAddon();
    ASSERT_TRUE(addon);

    struct Case {
        const char* label;
        IID iid;
        HRESULT status;
    };
    const Case cases[] = {
        {"IUnknown", IID_IUnknown, S_OK},
        {"IHostAddOn", __uuidof(IHostAddOn), S_OK},
        {"ISupportErrorInfo", IID_ISupportErrorInfo, S_OK},
        {"IDispatch", IID_IDispatch, E_NOINTERFACE},
        {"IClassFactory", IID_IClassFactory, E_NOINTERFACE},
        {"IM2MacroAttrsList", __uuidof(IM2MacroAttrsList), E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(addon->QueryInterface(c.iid, &object), c.status) << c.label;
        if (c.status == S_OK) {
            ASSERT_NE(object, nullptr) << c.label;
            static_cast<IUnknown*>(object)->Release();
        } else {
            EXPECT_EQ(object, nullptr) << c.label;
        }
    }

    ComPtr<ISupportErrorInfo> error_info = addon.As<ISupportErrorInfo>();
    ASSERT_TRUE(error_info);
    EXPECT_EQ(error_info->InterfaceSupportsErrorInfo(__uuidof(IHostAddOn)), S_OK);
    EXPECT_EQ(error_info->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
}

TEST(Activation, ReferenceCountsAndIdentity) {
    ComPtr<IHostAddOn> addon = CreateAddon();
    ASSERT_TRUE(addon);
    EXPECT_EQ(addon->AddRef(), 2u);
    EXPECT_EQ(addon->Release(), 1u);

    ComPtr<IUnknown> unknown_a = addon.As<IUnknown>();
    ComPtr<ISupportErrorInfo> via_other = addon.As<ISupportErrorInfo>();
    ComPtr<IUnknown> unknown_b = via_other.As<IUnknown>();
    EXPECT_EQ(unknown_a.get(), unknown_b.get()) << "one identity for every interface";

    // Every creation makes a new object.
    ComPtr<IHostAddOn> second = CreateAddon();
    EXPECT_NE(second.get(), addon.get());

    unknown_a.reset();
    unknown_b.reset();
    via_other.reset();
    EXPECT_EQ(addon.Detach()->Release(), 0u);
}

TEST(Activation, DllGetClassObjectAnswers) {
    struct Case {
        const char* label;
        CLSID class_id;
        IID iid;
        HRESULT status;
    };
    const CLSID other = {
        0x9EA2AFB5, 0x68F6, 0x4A9D, {0xB4, 0xAB, 0x61, 0x05, 0xCA, 0xB4, 0x37, 0x62}};
    const Case cases[] = {
        {"factory", kAddonClassId, IID_IClassFactory, S_OK},
        {"factory as IUnknown", kAddonClassId, IID_IUnknown, S_OK},
        {"add-on interface from the factory", kAddonClassId, __uuidof(IHostAddOn), E_NOINTERFACE},
        {"other class", other, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {"null class", GUID_NULL, IID_IUnknown, CLASS_E_CLASSNOTAVAILABLE},
    };
    for (const Case& c : cases) {
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(CallDllGetClassObject(c.class_id, c.iid, &object), c.status) << c.label;
        if (c.status == S_OK) {
            ASSERT_NE(object, nullptr);
            static_cast<IUnknown*>(object)->Release();
        } else {
            EXPECT_EQ(object, nullptr) << c.label;
        }
    }
    EXPECT_EQ(CallDllCanUnloadNow(), S_OK);
}

TEST(Activation, DllCanUnloadNowCountsObjectsFactoryReferencesAndLocks) {
    ASSERT_EQ(CallDllCanUnloadNow(), S_OK) << "nothing is held at the start";

    ComPtr<IHostAddOn> addon = CreateAddon();
    EXPECT_EQ(CallDllCanUnloadNow(), S_FALSE) << "add-on object held";
    addon.reset();
    EXPECT_EQ(CallDllCanUnloadNow(), S_OK) << "add-on object released";

    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CallDllGetClassObject(kAddonClassId, IID_IClassFactory, factory.put_void()), S_OK);
    EXPECT_EQ(CallDllCanUnloadNow(), S_FALSE) << "factory held";
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    factory.reset();
    EXPECT_EQ(CallDllCanUnloadNow(), S_FALSE) << "two locks";

    ASSERT_EQ(CallDllGetClassObject(kAddonClassId, IID_IClassFactory, factory.put_void()), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    factory.reset();
    EXPECT_EQ(CallDllCanUnloadNow(), S_OK) << "locks released";

    // A command list the host keeps uses the library's code too.
    addon = CreateAddon();
    ComPtr<IM2MacroAttrsList> list;
    ASSERT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
    addon.reset();
    EXPECT_EQ(CallDllCanUnloadNow(), S_FALSE) << "command list held";
    list.reset();
    EXPECT_EQ(CallDllCanUnloadNow(), S_OK);
}

// A minimal outer object for aggregation: counts its own references.
class Outer final : public IUnknown {
  public:
    HRESULT __stdcall QueryInterface(REFIID iid, void** object) override {
        if (IsEqualIID(iid, IID_IUnknown)) {
            *object = this;
            AddRef();
            return S_OK;
        }
        return inner ? inner->QueryInterface(iid, object) : E_NOINTERFACE;
    }
    ULONG __stdcall AddRef() override { return static_cast<ULONG>(++refs); }
    ULONG __stdcall Release() override { return static_cast<ULONG>(--refs); }
    IUnknown* inner = nullptr;
    LONG refs = 1;
};

TEST(Activation, AggregationHandsTheIdentityToTheOuterObject) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(CallDllGetClassObject(kAddonClassId, IID_IClassFactory, factory.put_void()), S_OK);
    Outer outer;
    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(&outer, __uuidof(IHostAddOn), &object),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(object, nullptr);

    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner)),
              S_OK);
    ASSERT_NE(outer.inner, nullptr);
    IHostAddOn* addon = nullptr;
    ASSERT_EQ(outer.inner->QueryInterface(__uuidof(IHostAddOn), reinterpret_cast<void**>(&addon)),
              S_OK);
    EXPECT_EQ(outer.refs, 2) << "the inner object's interfaces count on the outer object";
    IUnknown* identity = nullptr;
    ASSERT_EQ(addon->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    addon->Release();
    EXPECT_EQ(outer.refs, 1);
    EXPECT_EQ(outer.inner->Release(), 0u);
    outer.inner = nullptr;
    factory.reset();
    EXPECT_EQ(CallDllCanUnloadNow(), S_OK);
}

// ---------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------

TEST(Records, GetInfoWritesTheIdentityRecord) {
    ComPtr<IHostAddOn> addon = CreateAddon();
    BYTE buffer[120];
    std::memset(buffer, 0xCC, sizeof buffer);
    ASSERT_EQ(addon->GetInfo(reinterpret_cast<AddOnInfo*>(buffer)), S_OK);

    const std::vector<BYTE> class_id = {0xB5, 0xAF, 0xA2, 0x9E, 0xF6, 0x68, 0x9D, 0x4A,
                                        0xB4, 0xAB, 0x61, 0x05, 0xCA, 0xB4, 0x37, 0x61};
    EXPECT_EQ(std::vector<BYTE>(buffer, buffer + 16), class_id);
    EXPECT_EQ(std::vector<BYTE>(buffer + 16, buffer + 48), Field(31, u"KAVREL"));
    EXPECT_EQ(std::vector<BYTE>(buffer + 48, buffer + 112), Field(63, kCaption));
    EXPECT_EQ(Int32At(buffer, 112), 0);
    EXPECT_EQ(Int32At(buffer, 116), 260);
}

struct RowCase {
    const char* label;
    std::int32_t id;
    std::u16string bitmap;
    std::u16string caption;
    std::u16string menu;
};

const RowCase kRows[] = {
    {"import", 1, u"KAVRELIMPORT", u"Импорт высотных отметок из текста",
     u"Сервис\\Отметки\\Импорт отметок из текста"},
    {"editor", 2, u"KAVRELSETUP", u"Коррекция высотных отметок",
     u"Сервис\\Отметки\\Коррекция отметок"},
};

TEST(Records, EveryGetMacroAttrsIsANewListOfTheTwoCommands) {
    ComPtr<IHostAddOn> addon = CreateAddon();
    ComPtr<IM2MacroAttrsList> first;
    ComPtr<IM2MacroAttrsList> second;
    ASSERT_EQ(addon->GetMacroAttrs(first.put()), S_OK);
    ASSERT_EQ(addon->GetMacroAttrs(second.put()), S_OK);
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.get(), second.get());

    // The host owns the one reference it receives.
    EXPECT_EQ(second->AddRef(), 2u);
    EXPECT_EQ(second->Release(), 1u);
    EXPECT_EQ(second.Detach()->Release(), 0u);

    LONG count = -1;
    ASSERT_EQ(first->GetCount(&count), S_OK);
    ASSERT_EQ(count, 2);
    for (LONG i = 0; i < 2; ++i) {
        const RowCase& c = kRows[i];
        BYTE row[236];
        std::memset(row, 0xCC, sizeof row);
        ASSERT_EQ(first->GetItem(i, reinterpret_cast<MacroAttrs*>(row)), S_OK) << c.label;
        EXPECT_EQ(Int32At(row, 0), c.id) << c.label;
        EXPECT_EQ(std::vector<BYTE>(row + 4, row + 36), Field(31, c.bitmap)) << c.label;
        EXPECT_EQ(std::vector<BYTE>(row + 36, row + 100), Field(63, c.caption)) << c.label;
        EXPECT_EQ(std::vector<BYTE>(row + 100, row + 164), Field(63, c.menu)) << c.label;
        EXPECT_EQ(Int32At(row, 164), 0) << c.label;
        EXPECT_EQ(std::vector<BYTE>(row + 168, row + 200), Field(31, u"Утилиты Dravell (отметки)"))
            << c.label;
        EXPECT_EQ(std::vector<BYTE>(row + 200, row + 232), Field(31, u"Утилиты Dravell (отметки)"))
            << c.label;
        // The bitmap handle is a live 16 x 16 bitmap.
        const auto handle = BitmapFromRecord(static_cast<std::uint32_t>(Int32At(row, 232)));
        ASSERT_NE(handle, nullptr) << c.label;
        RememberCommandBitmap(handle);
        BITMAP bitmap{};
        ASSERT_EQ(GetObjectW(handle, sizeof bitmap, &bitmap), static_cast<int>(sizeof bitmap));
        EXPECT_EQ(bitmap.bmWidth, 16) << c.label;
        EXPECT_EQ(bitmap.bmHeight, 16) << c.label;
    }
}

// ---------------------------------------------------------------------------
// The command list
// ---------------------------------------------------------------------------

MacroAttrs RowWithId(std::int32_t id) {
    MacroAttrs row;
    std::memset(&row, 0, sizeof row);
    row.Id = id;
    return row;
}

std::vector<std::int32_t> Ids(IM2MacroAttrsList* list) {
    LONG count = 0;
    EXPECT_EQ(list->GetCount(&count), S_OK);
    std::vector<std::int32_t> ids;
    for (LONG i = 0; i < count; ++i) {
        MacroAttrs row;
        EXPECT_EQ(list->GetItem(i, &row), S_OK);
        ids.push_back(row.Id);
    }
    return ids;
}

class MacroList : public testing::Test {
  protected:
    void SetUp() override {
        addon = CreateAddon();
        ASSERT_EQ(addon->Connect(host.HostObject()), S_OK);
        ASSERT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
        ASSERT_EQ(list->Clear(), S_OK);
    }
    void TearDown() override {
        list.reset();
        if (addon) {
            EXPECT_EQ(addon->Disconnect(), S_OK);
        }
        addon.reset();
    }
    host::HostContext& host = NewStandInHost();
    ComPtr<IHostAddOn> addon;
    ComPtr<IM2MacroAttrsList> list;
};

TEST_F(MacroList, InsertAppendsOrPutsBeforeAnIndex) {
    const MacroAttrs r10 = RowWithId(10), r20 = RowWithId(20), r30 = RowWithId(30),
                     r40 = RowWithId(40);
    EXPECT_EQ(list->Insert(-1, &r10), S_OK);
    EXPECT_EQ(Ids(list.get()), (std::vector<std::int32_t>{10})) << "append to the empty list";
    EXPECT_EQ(list->Insert(0, &r20), S_OK);
    EXPECT_EQ(Ids(list.get()), (std::vector<std::int32_t>{20, 10})) << "before the first";
    EXPECT_EQ(list->Insert(2, &r30), S_OK);
    EXPECT_EQ(Ids(list.get()), (std::vector<std::int32_t>{20, 10, 30})) << "at the count";
    EXPECT_EQ(list->Insert(-5, &r40), S_OK);
    EXPECT_EQ(Ids(list.get()), (std::vector<std::int32_t>{20, 10, 30, 40})) << "any negative";
    EXPECT_TRUE(host.reported_errors().empty());
}

TEST_F(MacroList, InsertKeepsItsOwnCopy) {
    MacroAttrs row = RowWithId(7);
    row.Caption.bytes[0] = 1;
    row.Caption.bytes[1] = 'x';
    ASSERT_EQ(list->Insert(-1, &row), S_OK);
    row.Id = 99;
    row.Caption.bytes[1] = 'y';
    MacroAttrs back;
    ASSERT_EQ(list->GetItem(0, &back), S_OK);
    EXPECT_EQ(back.Id, 7);
    EXPECT_EQ(back.Caption.bytes[1], 'x');
}

TEST_F(MacroList, IndexesOutsideTheListFailAndAreReported) {
    const MacroAttrs row = RowWithId(1);
    ASSERT_EQ(list->Insert(-1, &row), S_OK);
    struct Case {
        const char* label;
        HRESULT (*call)(IM2MacroAttrsList*);
        std::u16string message;
    };
    const Case cases[] = {
        {"GetItem at the count",
         [](IM2MacroAttrsList* l) {
             MacroAttrs out;
             return l->GetItem(1, &out);
         },
         u"List index out of bounds (1)"},
        {"GetItem below zero",
         [](IM2MacroAttrsList* l) {
             MacroAttrs out;
             return l->GetItem(-1, &out);
         },
         u"List index out of bounds (-1)"},
        {"Insert beyond the count",
         [](IM2MacroAttrsList* l) {
             const MacroAttrs r = RowWithId(2);
             return l->Insert(5, &r);
         },
         u"List index out of bounds (5)"},
    };
    for (const Case& c : cases) {
        host.reported_errors().clear();
        EXPECT_EQ(c.call(list.get()), E_FAIL) << c.label;
        EXPECT_EQ(ReportedErrors(host), (std::vector<Report>{{u"Список макросов", c.message}}))
            << c.label;
    }
    EXPECT_EQ(Ids(list.get()), (std::vector<std::int32_t>{1})) << "nothing changed";
}

TEST_F(MacroList, AFailingGetItemLeavesAClearedRecord) {
    MacroAttrs out;
    std::memset(&out, 0xCC, sizeof out);
    EXPECT_EQ(list->GetItem(3, &out), E_FAIL);
    EXPECT_EQ(out.Id, 0);
    EXPECT_EQ(out.Caption.bytes[0], 0);
    EXPECT_EQ(out.Bitmap, 0u);
}

TEST_F(MacroList, ClearEmptiesAndFailuresAfterDisconnectAreNotReported) {
    const MacroAttrs row = RowWithId(1);
    ASSERT_EQ(list->Insert(-1, &row), S_OK);
    ASSERT_EQ(list->Insert(-1, &row), S_OK);
    EXPECT_EQ(list->Clear(), S_OK);
    LONG count = -1;
    EXPECT_EQ(list->GetCount(&count), S_OK);
    EXPECT_EQ(count, 0);

    ASSERT_EQ(addon->Disconnect(), S_OK);
    MacroAttrs out;
    EXPECT_EQ(list->GetItem(0, &out), E_FAIL);
    EXPECT_TRUE(host.reported_errors().empty()) << "no error channel after Disconnect";
    addon.reset();
}

// ---------------------------------------------------------------------------
// Connection
// ---------------------------------------------------------------------------

TEST(Connection, ConnectTakesTheChannelAndTheSevenInterfacesDisconnectLetsGo) {
    TestHost& host = NewHost();
    ComPtr<IHostAddOn> addon = CreateAddon();
    ASSERT_EQ(addon->Connect(host.Unknown()), S_OK);
    const std::vector<IID> expected = {
        __uuidof(IHostErrorInfo), __uuidof(IM2AddOnManager), __uuidof(IM2GISDatabase),
        __uuidof(IM2MapProject),  __uuidof(IM2MapObjects),   __uuidof(IM2MapView),
        __uuidof(IM2GeometryLib), __uuidof(IM2Preferences),
    };
    ASSERT_EQ(host.queried.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_TRUE(IsEqualIID(host.queried[i], expected[i])) << "query " << i;
    }
    EXPECT_EQ(host.main_window_handle_calls, 1);
    EXPECT_EQ(host.refs, 8) << "the channel and the seven interfaces are kept";

    ASSERT_EQ(addon->Disconnect(), S_OK);
    EXPECT_EQ(host.refs, 0);
    EXPECT_TRUE(host.errors.empty());
}

TEST(Connection, AMissingInterfaceEndsConnectWithAReport) {
    TestHost& host = NewHost();
    host.unsupported = {__uuidof(IM2MapView)};
    ComPtr<IHostAddOn> addon = CreateAddon();
    EXPECT_EQ(addon->Connect(host.Unknown()), E_FAIL);
    EXPECT_EQ(host.errors,
              (std::vector<Report>{{std::u16string(kCaption), u"Interface not supported"}}));
    EXPECT_EQ(host.main_window_handle_calls, 0) << "Connect ended at the failing query";
    ASSERT_EQ(addon->Disconnect(), S_OK);
    EXPECT_EQ(host.refs, 0) << "references taken before the failure go with Disconnect";
}

TEST(Connection, AFailingHostCallCarriesTheHostsLastErrorText) {
    struct Case {
        const char* label;
        HRESULT last_error_status;
        std::u16string message;
    };
    const Case cases[] = {
        {"with the host's text", S_OK, u"Главное окно недоступно. [ГИС]"},
        {"host text unavailable", E_FAIL, u""},
    };
    for (const Case& c : cases) {
        TestHost& host = NewHost();
        host.main_window_status = E_UNEXPECTED;
        host.last_error_status = c.last_error_status;
        host.last_error_a = u"ГИС";
        host.last_error_b = u"Главное окно недоступно";
        ComPtr<IHostAddOn> addon = CreateAddon();
        EXPECT_EQ(addon->Connect(host.Unknown()), E_FAIL) << c.label;
        EXPECT_EQ(host.errors, (std::vector<Report>{{std::u16string(kCaption), c.message}}))
            << c.label;
        ASSERT_EQ(addon->Disconnect(), S_OK);
    }
}

TEST(Connection, DisconnectThenConnectRebindsToTheNewHost) {
    TestHost& first = NewHost();
    TestHost& second = NewHost();
    second.main_window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x20040));
    ComPtr<IHostAddOn> addon = CreateAddon();
    ASSERT_EQ(addon->Connect(first.Unknown()), S_OK);
    ASSERT_EQ(addon->Disconnect(), S_OK);
    EXPECT_EQ(first.refs, 0);
    ASSERT_EQ(addon->Connect(second.Unknown()), S_OK);
    EXPECT_EQ(second.refs, 8);
    EXPECT_EQ(second.main_window_handle_calls, 1);

    // Errors now go to the second host's channel.
    ComPtr<IM2MacroAttrsList> list;
    ASSERT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
    MacroAttrs out;
    EXPECT_EQ(list->GetItem(7, &out), E_FAIL);
    EXPECT_TRUE(first.errors.empty());
    EXPECT_EQ(second.errors.size(), 1u);
    list.reset();
    ASSERT_EQ(addon->Disconnect(), S_OK);
}

TEST(Connection, AllObjectsForwardToTheOneAddon) {
    TestHost& host = NewHost();
    ComPtr<IHostAddOn> connecting = CreateAddon();
    ComPtr<IHostAddOn> other = CreateAddon();
    ASSERT_EQ(connecting->Connect(host.Unknown()), S_OK);
    connecting.reset();
    // The other object reaches the same connection.
    ComPtr<IM2MacroAttrsList> list;
    ASSERT_EQ(other->GetMacroAttrs(list.put()), S_OK);
    MacroAttrs out;
    EXPECT_EQ(list->GetItem(9, &out), E_FAIL);
    EXPECT_EQ(host.errors.size(), 1u);
    list.reset();
    ASSERT_EQ(other->Disconnect(), S_OK);
    EXPECT_EQ(host.refs, 1) << "only the application reference stays";
}

TEST(Connection, TheApplicationReferenceOutlivesDisconnectUntilTheNextCommandList) {
    TestHost& first = NewHost();
    TestHost& second = NewHost();
    ComPtr<IHostAddOn> addon = CreateAddon();
    ASSERT_EQ(addon->Connect(first.Unknown()), S_OK);
    ComPtr<IM2MacroAttrsList> list;
    ASSERT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
    list.reset();
    ASSERT_EQ(addon->Disconnect(), S_OK);
    EXPECT_EQ(first.refs, 1) << "the application reference is kept";

    ASSERT_EQ(addon->Connect(second.Unknown()), S_OK);
    EXPECT_EQ(first.refs, 1);
    ASSERT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
    EXPECT_EQ(first.refs, 0) << "replaced by the new host's application";
    EXPECT_EQ(second.refs, 9);
    list.reset();
    ASSERT_EQ(addon->Disconnect(), S_OK);
    EXPECT_EQ(second.refs, 1);
}

TEST(Connection, ACommandListWhileDisconnectedDropsTheApplicationReference) {
    TestHost& host = NewHost();
    ComPtr<IHostAddOn> addon = CreateAddon();
    ASSERT_EQ(addon->Connect(host.Unknown()), S_OK);
    ComPtr<IM2MacroAttrsList> list;
    ASSERT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
    ASSERT_EQ(addon->Disconnect(), S_OK);
    list.reset();
    ASSERT_EQ(host.refs, 1);
    // Without a connection the manager is gone, and so is the application.
    ASSERT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
    EXPECT_EQ(host.refs, 0);
    // The editor command then has no host to ask and fails without a report.
    EXPECT_EQ(addon->ExecuteMacro(2, 0), E_FAIL);
    EXPECT_EQ(host.get_main_window_calls, 0);
    EXPECT_TRUE(host.errors.empty());
}

// ---------------------------------------------------------------------------
// Commands
// ---------------------------------------------------------------------------

// A real top-level window standing for one of the host's windows.
class HostWindow {
  public:
    HostWindow()
        : window_(CreateWindowExW(0, L"STATIC", L"ГИС", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300,
                                  nullptr, nullptr, nullptr, nullptr)) {}
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;
    ~HostWindow() { Destroy(); }
    void Destroy() {
        if (window_) {
            DestroyWindow(std::exchange(window_, nullptr));
        }
    }
    HWND get() const { return window_; }

  private:
    HWND window_;
};

// Lets deferred work of the add-on's windows run.
void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring ClassOf(HWND window) {
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return name;
}

struct WindowSearch {
    HWND owner;
    const wchar_t* class_name;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectOwnedWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (ClassOf(window) == search->class_name && GetWindow(window, GW_OWNER) == search->owner) {
        search->found.push_back(window);
    }
    return TRUE;
}

// Top-level windows of this thread with that class, owned by the owner.
std::vector<HWND> OwnedWindows(HWND owner, const wchar_t* class_name) {
    WindowSearch search{owner, class_name, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectOwnedWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The commands in the stand-in host, where a working host is all they need.
class CommandsInHost : public testing::Test {
  protected:
    void SetUp() override {
        addon = CreateAddon();
        ASSERT_EQ(addon->Connect(host.HostObject()), S_OK);
        ComPtr<IM2MacroAttrsList> list;
        ASSERT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(addon->Disconnect(), S_OK);
        addon.reset();
        PumpMessages();
    }
    long Calls(const char* operation) const { return host.accounting().CallCount(operation); }

    host::HostContext& host = NewStandInHost();
    ComPtr<IHostAddOn> addon;
};

TEST_F(CommandsInHost, UnknownIdsAskNothingOfTheHost) {
    for (LONG id : {0, 3, -1}) {
        EXPECT_EQ(addon->ExecuteMacro(id, 77), S_OK) << id;
    }
    EXPECT_EQ(Calls("IHostApplication.GetMainWindow"), 0);
    EXPECT_EQ(Calls("IHostMainWindow.GetTaskPanel"), 0);
    EXPECT_TRUE(host.reported_errors().empty());
    EXPECT_EQ(addon->Notify(1, 2), S_OK);
}

TEST_F(CommandsInHost, EachImportCommandOpensADialogAndDisconnectClosesThem) {
    ASSERT_EQ(addon->ExecuteMacro(1, 0), S_OK);
    ASSERT_EQ(addon->ExecuteMacro(1, 0), S_OK);
    PumpMessages();
    EXPECT_EQ(OwnedWindows(host.main_window(), L"TMainForm").size(), 2u)
        << "two dialogs owned by the host's main window";
    EXPECT_TRUE(host.reported_errors().empty());

    ASSERT_EQ(addon->Disconnect(), S_OK);
    PumpMessages();
    EXPECT_TRUE(OwnedWindows(host.main_window(), L"TMainForm").empty());
    // Connected again, the add-on works with the host as before.
    ASSERT_EQ(addon->Connect(host.HostObject()), S_OK);
    EXPECT_EQ(Calls("IM2AddOnManager.GetMainWindowHandle"), 2);
}

TEST_F(CommandsInHost, AFailingAutomationCallReportsTheHostsDescription) {
    host.accounting().ArmFault("IHostMainWindow.GetTaskPanel", 1, u"Панель задач недоступна");
    EXPECT_EQ(addon->ExecuteMacro(2, 0), E_FAIL);
    EXPECT_EQ(ReportedErrors(host),
              (std::vector<Report>{{std::u16string(kCaption), u"Панель задач недоступна"}}));
    EXPECT_EQ(Calls("IHostTaskPanel.GetWindowHandle"), 0);
}

// The host's task panel closed under the add-on, and a failure without a
// description: what only a host of the test's own making can do.
class Commands : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(main_window.get(), nullptr);
        ASSERT_NE(panel_window.get(), nullptr);
        host.main_window = main_window.get();
        host.task_panel_window = panel_window.get();
        addon = CreateAddon();
        ASSERT_EQ(addon->Connect(host.Unknown()), S_OK);
        ComPtr<IM2MacroAttrsList> list;
        ASSERT_EQ(addon->GetMacroAttrs(list.put()), S_OK);
    }
    void TearDown() override {
        EXPECT_EQ(addon->Disconnect(), S_OK);
        addon.reset();
        // The host closes its task panel, and with it an editor panel docked there.
        panel_window.Destroy();
        PumpMessages();
    }
    HostWindow main_window;
    HostWindow panel_window;
    TestHost& host = NewHost();
    ComPtr<IHostAddOn> addon;
};

TEST_F(Commands, OneEditorPanelInTheKavrelTaskPanel) {
    ASSERT_EQ(addon->ExecuteMacro(2, 0), S_OK);
    PumpMessages();
    EXPECT_EQ(host.get_main_window_calls, 1);
    EXPECT_EQ(host.task_panel_requests, (std::vector<Report>{{u"KAVREL", u"Отметки"}}));
    EXPECT_EQ(host.window_handle_calls, 1);
    EXPECT_EQ(host.main_window_object.refs_, 0) << "the main window is released after the call";
    const HWND panel = FindWindowExW(panel_window.get(), nullptr, L"TfKavrelEditor", nullptr);
    EXPECT_NE(panel, nullptr) << "the editor panel is a child of the task panel's window";

    // While the panel exists the command only brings its task panel into view.
    ASSERT_EQ(addon->ExecuteMacro(2, 0), S_OK);
    EXPECT_EQ(host.show_calls, 1);
    EXPECT_EQ(host.task_panel_requests.size(), 1u);
    EXPECT_EQ(host.get_main_window_calls, 1);
    EXPECT_EQ(FindWindowExW(panel_window.get(), panel, L"TfKavrelEditor", nullptr), nullptr)
        << "no second panel";

    // Once the host has closed it, the next command asks for the task panel again.
    panel_window.Destroy();
    PumpMessages();
    HostWindow second_panel_window;
    host.task_panel_window = second_panel_window.get();
    ASSERT_EQ(addon->ExecuteMacro(2, 0), S_OK);
    PumpMessages();
    EXPECT_EQ(host.task_panel_requests.size(), 2u);
    EXPECT_EQ(host.show_calls, 1);
    EXPECT_NE(FindWindowExW(second_panel_window.get(), nullptr, L"TfKavrelEditor", nullptr),
              nullptr);
    EXPECT_TRUE(host.errors.empty());
    second_panel_window.Destroy();
    PumpMessages();
}

TEST_F(Commands, WithoutADescriptionTheSystemTextIsReported) {
    host.task_panel_status = E_ACCESSDENIED;
    EXPECT_EQ(addon->ExecuteMacro(2, 0), E_FAIL);
    wchar_t text[512] = {};
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(E_ACCESSDENIED), 0, text, 512, nullptr);
    std::u16string expected(reinterpret_cast<const char16_t*>(text), length);
    while (!expected.empty() &&
           (expected.back() == u'\n' || expected.back() == u'\r' || expected.back() == u' ')) {
        expected.pop_back();
    }
    ASSERT_FALSE(expected.empty());
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0].first, kCaption);
    EXPECT_EQ(host.errors[0].second, expected);
}

TEST(CommandList, WithoutTheApplicationInterfaceNoListIsHandedOver) {
    TestHost& host = NewHost();
    host.unsupported = {__uuidof(IHostApplication)};
    ComPtr<IHostAddOn> addon = CreateAddon();
    ASSERT_EQ(addon->Connect(host.Unknown()), S_OK);
    IM2MacroAttrsList* list = reinterpret_cast<IM2MacroAttrsList*>(1);
    EXPECT_EQ(addon->GetMacroAttrs(&list), E_FAIL);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(host.errors,
              (std::vector<Report>{{std::u16string(kCaption), u"Interface not supported"}}));
    ASSERT_EQ(addon->Disconnect(), S_OK);
    EXPECT_EQ(CallDllCanUnloadNow(), S_FALSE) << "the add-on object is still held";
    addon.reset();
    EXPECT_EQ(CallDllCanUnloadNow(), S_OK) << "the refused list was freed";
}

}  // namespace
}  // namespace kavrel::test
