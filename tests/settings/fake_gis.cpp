#include "tests/settings/fake_gis.h"

#include <oleauto.h>

#include <cstring>
#include <stdexcept>

#include "base/bstr.h"
#include "base/com_ptr.h"
#include "base/handle_casts.h"
#include "base/short_string.h"

namespace settings_test {
namespace {

using kavrel::Bstr;
using kavrel::BstrText;
using kavrel::ComPtr;

long g_live = 0;

constexpr HRESULT kHostFault = static_cast<HRESULT>(0x80040202L);

// The placeholders of every automation interface; a slot the add-on calls
// without reason answers E_NOTIMPL, which the add-on reports as a failure.
#define FAKE_RESERVED(p)                      \
    virtual HRESULT __stdcall Reserved##p() { \
        return E_NOTIMPL;                     \
    }

// Reference counting and IUnknown for one host object created on the heap.
template <typename I>
class Object : public I {
  public:
    explicit Object(FakeHost& host) : host_(host) { ++g_live; }
    virtual ~Object() { --g_live; }
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    HRESULT __stdcall QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(I) || IsDispatch(iid)) {
            *out = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    ULONG __stdcall AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG __stdcall Release() override {
        const LONG left = --refs_;
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

  protected:
    FakeHost& host_;

  private:
    static bool IsDispatch(REFIID iid) {
        if constexpr (std::is_base_of_v<IDispatch, I>) {
            return iid == __uuidof(IDispatch);
        }
        return false;
    }
    LONG refs_ = 0;
};

template <typename I>
class Dispatch : public Object<I> {
  public:
    using Object<I>::Object;
    HRESULT __stdcall GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT __stdcall GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT __stdcall GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT __stdcall Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                             UINT*) override {
        return E_NOTIMPL;
    }
    FAKE_RESERVED(1)
    FAKE_RESERVED(2)
    FAKE_RESERVED(3)
    FAKE_RESERVED(4)
    FAKE_RESERVED(5)
    FAKE_RESERVED(6)
    FAKE_RESERVED(7)
    FAKE_RESERVED(8)
    FAKE_RESERVED(9)
    FAKE_RESERVED(10)
    FAKE_RESERVED(11)
    FAKE_RESERVED(12)
    FAKE_RESERVED(13)
    FAKE_RESERVED(14)
    FAKE_RESERVED(15)
    FAKE_RESERVED(16)
    FAKE_RESERVED(17)
    FAKE_RESERVED(18)
};

// Hands a new object to an out argument with the caller's one reference.
template <typename I>
HRESULT Hand(I* object, I** out) {
    object->AddRef();  // the new object's first reference: released on failure
    if (!out) {
        object->Release();
        return E_POINTER;
    }
    *out = object;
    return S_OK;
}

HRESULT PutText(std::u16string_view text, BSTR* out) {
    if (!out) {
        return E_POINTER;
    }
    *out = Bstr(text).Detach();
    return S_OK;
}

std::string Text(const kavrel::M2Id* id) {
    return id ? kavrel::ReadShortString(*id) : std::string();
}

// The host stores the whole name in the record (up to its 255 characters).
void FillRecord(kavrel::M2DescRecord* info, const std::string& id, const std::u16string& name) {
    std::memset(info, 0, sizeof *info);
    kavrel::StoreShortString(info->Id, std::string_view(id));
    kavrel::StoreShortString(info->Name, std::u16string_view(name));
}

class IdsList final : public Object<IM2IDsList> {
  public:
    IdsList(FakeHost& host, std::vector<std::string> ids) : Object(host), ids_(std::move(ids)) {}
    HRESULT __stdcall GetItem(LONG index, kavrel::M2Id* id) override {
        if (!id || index < 0 || index >= static_cast<LONG>(ids_.size())) {
            return E_INVALIDARG;
        }
        kavrel::StoreShortString(*id, std::string_view(ids_[index]));
        return S_OK;
    }
    HRESULT __stdcall GetCount(LONG* result) override {
        *result = static_cast<LONG>(ids_.size());
        return S_OK;
    }

  private:
    std::vector<std::string> ids_;
};

class M2Style final : public Object<IHostM2Style> {
  public:
    M2Style(FakeHost& host, std::u16string name) : Object(host), name_(std::move(name)) {}
    HRESULT __stdcall Reserved1() override { return E_NOTIMPL; }
    HRESULT __stdcall Reserved2() override { return E_NOTIMPL; }
    HRESULT __stdcall GetName(kavrel::M2StyleName* name) override {
        kavrel::StoreShortString(*name, std::u16string_view(name_));
        return S_OK;
    }

  private:
    std::u16string name_;
};

class SemField final : public Dispatch<IHostSemField> {
  public:
    SemField(FakeHost& host, std::u16string name) : Dispatch(host), name_(std::move(name)) {}
    HRESULT __stdcall GetName(BSTR* result) override {
        const HRESULT status = host_.Call("IHostSemField.GetName", false);
        return FAILED(status) ? status : PutText(name_, result);
    }

  private:
    std::u16string name_;
};

class SemFields final : public Dispatch<IHostSemFields> {
  public:
    SemFields(FakeHost& host, const FakeTable& table) : Dispatch(host), table_(table) {}
    HRESULT __stdcall GetCount(LONG* result) override {
        const HRESULT status = host_.Call("IHostSemFields.GetCount", false);
        if (SUCCEEDED(status)) {
            *result = static_cast<LONG>(table_.fields.size());
        }
        return status;
    }
    HRESULT __stdcall GetItem(VARIANT index, IHostSemField** result) override {
        const HRESULT status = host_.Call("IHostSemFields.GetItem", false);
        if (FAILED(status)) {
            return status;
        }
        // The host takes a field by position only from a 32-bit integer.
        if (index.vt != VT_I4 || index.lVal < 0 ||
            index.lVal >= static_cast<LONG>(table_.fields.size())) {
            return DISP_E_TYPEMISMATCH;
        }
        return Hand<IHostSemField>(new SemField(host_, table_.fields[index.lVal]), result);
    }

  private:
    const FakeTable& table_;
};

class SemTable final : public Dispatch<IHostSemTable> {
  public:
    SemTable(FakeHost& host, const FakeTable& table) : Dispatch(host), table_(table) {}
    HRESULT __stdcall GetName(BSTR* result) override {
        const HRESULT status = host_.Call("IHostSemTable.GetName", false);
        return FAILED(status) ? status : PutText(table_.name, result);
    }
    HRESULT __stdcall GetFields(IHostSemFields** result) override {
        const HRESULT status = host_.Call("IHostSemTable.GetFields", false);
        return FAILED(status) ? status : Hand<IHostSemFields>(new SemFields(host_, table_), result);
    }

  private:
    const FakeTable& table_;
};

class SemTables final : public Dispatch<IHostSemTables> {
  public:
    SemTables(FakeHost& host, const FakeLayer& layer) : Dispatch(host), layer_(layer) {}
    HRESULT __stdcall GetCount(LONG* result) override {
        const HRESULT status = host_.Call("IHostSemTables.GetCount", false);
        if (SUCCEEDED(status)) {
            *result = static_cast<LONG>(layer_.tables.size());
        }
        return status;
    }
    HRESULT __stdcall GetItem(LONG index, IHostSemTable** result) override {
        const HRESULT status = host_.Call("IHostSemTables.GetItem", false);
        if (FAILED(status)) {
            return status;
        }
        if (index < 0 || index >= static_cast<LONG>(layer_.tables.size())) {
            return E_INVALIDARG;
        }
        return Hand<IHostSemTable>(new SemTable(host_, layer_.tables[index]), result);
    }

  private:
    const FakeLayer& layer_;
};

class Layer final : public Dispatch<IHostLayer> {
  public:
    Layer(FakeHost& host, const FakeLayer& layer) : Dispatch(host), layer_(layer) {}
    HRESULT __stdcall GetId(BSTR* result) override {
        return PutText(kavrel::Cp1251ToWide(layer_.id), result);
    }
    HRESULT __stdcall GetName(BSTR* result) override {
        const HRESULT status = host_.Call("IHostLayer.GetName", false);
        return FAILED(status) ? status : PutText(layer_.name, result);
    }
    HRESULT __stdcall GetSemTables(IHostSemTables** result) override {
        const HRESULT status = host_.Call("IHostLayer.GetSemTables", false);
        return FAILED(status) ? status : Hand<IHostSemTables>(new SemTables(host_, layer_), result);
    }

  private:
    const FakeLayer& layer_;
};

class Style final : public Dispatch<IHostStyle> {
  public:
    Style(FakeHost& host, const FakeStyle& style, const FakeLayer& layer)
        : Dispatch(host), style_(style), layer_(layer) {}
    HRESULT __stdcall GetName(BSTR* result) override {
        const HRESULT status = host_.Call("IHostStyle.GetName", false);
        return FAILED(status) ? status : PutText(style_.name, result);
    }
    HRESULT __stdcall GetLayer(IHostLayer** result) override {
        const HRESULT status = host_.Call("IHostStyle.GetLayer", false);
        return FAILED(status) ? status : Hand<IHostLayer>(new Layer(host_, layer_), result);
    }

  private:
    const FakeStyle& style_;
    const FakeLayer& layer_;
};

class MapObjects final : public Dispatch<IHostMapObjects> {
  public:
    using Dispatch::Dispatch;
    HRESULT __stdcall GetObject(BSTR, IHostMapObject**) override { return E_NOTIMPL; }
    HRESULT __stdcall CommitChanges() override { return E_NOTIMPL; }
    HRESULT __stdcall QueryInRect(VARIANT, double, double, double, double, LONG,
                                  IHostQueryCursor**) override {
        return E_NOTIMPL;
    }
};

class Database final : public Dispatch<IHostDatabase> {
  public:
    using Dispatch::Dispatch;
    HRESULT __stdcall StyleExists(BSTR style_id, VARIANT_BOOL* result) override {
        const HRESULT status = host_.Call("IHostDatabase.StyleExists", false);
        if (SUCCEEDED(status)) {
            *result = host_.FindStyle(kavrel::WideToCp1251(BstrText(style_id))) ? VARIANT_TRUE
                                                                                : VARIANT_FALSE;
        }
        return status;
    }
    HRESULT __stdcall GetStyle(BSTR style_id, IHostStyle** result) override {
        const HRESULT status = host_.Call("IHostDatabase.GetStyle", false);
        if (FAILED(status)) {
            return status;
        }
        const FakeLayer* layer = nullptr;
        const FakeStyle* style = host_.FindStyle(kavrel::WideToCp1251(BstrText(style_id)), &layer);
        if (!style) {
            return E_INVALIDARG;
        }
        return Hand<IHostStyle>(new Style(host_, *style, *layer), result);
    }
    HRESULT __stdcall GetMapObjects(IHostMapObjects** result) override {
        return Hand<IHostMapObjects>(new MapObjects(host_), result);
    }
};

class Preferences final : public Dispatch<IHostPreferences> {
  public:
    using Dispatch::Dispatch;
    HRESULT __stdcall ReadString(LONG, LONG, BSTR key, BSTR default_value, BSTR* result) override {
        const auto found = host_.preferences.find(BstrText(key));
        return PutText(found != host_.preferences.end() ? found->second : BstrText(default_value),
                       result);
    }
    HRESULT __stdcall WriteString(LONG, LONG, BSTR key, BSTR value) override {
        host_.preferences[BstrText(key)] = BstrText(value);
        return S_OK;
    }
};

class TaskPanel final : public Dispatch<IHostTaskPanel> {
  public:
    using Dispatch::Dispatch;
    HRESULT __stdcall Show() override { return S_OK; }
    HRESULT __stdcall GetWindowHandle(LONG* result) override {
        *result = kavrel::WindowToLong(host_.TaskPanelWindow());
        return S_OK;
    }
};

class MainWindow final : public Dispatch<IHostMainWindow> {
  public:
    using Dispatch::Dispatch;
    HRESULT __stdcall GetMapWindow(IHostMapWindow**) override { return E_NOTIMPL; }
    HRESULT __stdcall GetTaskPanel(BSTR, BSTR, IHostTaskPanel** result) override {
        return Hand<IHostTaskPanel>(new TaskPanel(host_), result);
    }
};

constexpr wchar_t kMainClass[] = L"SettingsTestHostMain";
constexpr wchar_t kPanelClass[] = L"SettingsTestTaskPanel";

void RegisterClasses() {
    static bool done = false;
    if (done) {
        return;
    }
    for (const wchar_t* name : {kMainClass, kPanelClass}) {
        WNDCLASSW window_class{};
        window_class.lpfnWndProc = DefWindowProcW;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = name;
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        if (!RegisterClassW(&window_class)) {
            throw std::runtime_error("cannot register the host's window classes");
        }
    }
    done = true;
}

}  // namespace

long LiveObjects() {
    return g_live;
}

FakeHost::FakeHost() {
    RegisterClasses();
    main_window_ =
        CreateWindowExW(0, kMainClass, L"ГИС", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 300, 400, 600,
                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    panel_window_ = CreateWindowExW(0, kPanelClass, L"Отметки", WS_CHILD | WS_VISIBLE, 0, 0, 240,
                                    560, main_window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!main_window_ || !panel_window_) {
        throw std::runtime_error("cannot create the host's windows");
    }
}

FakeHost::~FakeHost() {
    if (IsWindow(main_window_)) {
        DestroyWindow(main_window_);
    }
}

void FakeHost::Fail(const std::string& operation, int nth, std::u16string a, std::u16string b) {
    faults_[operation] = Fault{Calls(operation) + nth, std::move(a), std::move(b)};
}

int FakeHost::Calls(const std::string& operation) const {
    const auto found = calls_.find(operation);
    return found == calls_.end() ? 0 : found->second;
}

HRESULT FakeHost::Call(const std::string& operation, bool sdk) {
    const int count = ++calls_[operation];
    const auto fault = faults_.find(operation);
    if (fault == faults_.end() || fault->second.nth != count) {
        return S_OK;
    }
    if (sdk) {
        last_a_ = fault->second.a;
        last_b_ = fault->second.b;
        return E_FAIL;
    }
    ComPtr<ICreateErrorInfo> create;
    if (SUCCEEDED(CreateErrorInfo(create.put()))) {
        const Bstr description(fault->second.b);
        create->SetDescription(description.get());
        if (const ComPtr<IErrorInfo> info = create.As<IErrorInfo>()) {
            SetErrorInfo(0, info.get());
        }
    }
    return kHostFault;
}

const FakeLayer* FakeHost::FindLayer(const std::string& id) const {
    for (const FakeMap& map : maps) {
        for (const FakeLayer& layer : map.layers) {
            if (layer.id == id) {
                return &layer;
            }
        }
    }
    return nullptr;
}

const FakeStyle* FakeHost::FindStyle(const std::string& id, const FakeLayer** owner) const {
    for (const FakeMap& map : maps) {
        for (const FakeLayer& layer : map.layers) {
            for (const FakeStyle& style : layer.styles) {
                if (style.id == id) {
                    if (owner) {
                        *owner = &layer;
                    }
                    return &style;
                }
            }
        }
    }
    return nullptr;
}

HRESULT __stdcall FakeHost::QueryInterface(REFIID iid, void** object) {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IHostErrorInfo)) {
        *object = static_cast<IHostErrorInfo*>(this);
    } else if (iid == __uuidof(IM2AddOnManager)) {
        *object = static_cast<IM2AddOnManager*>(this);
    } else if (iid == __uuidof(IM2GISDatabase)) {
        *object = static_cast<IM2GISDatabase*>(this);
    } else if (iid == __uuidof(IM2MapProject)) {
        *object = static_cast<IM2MapProject*>(this);
    } else if (iid == __uuidof(IM2MapObjects)) {
        *object = static_cast<IM2MapObjects*>(this);
    } else if (iid == __uuidof(IM2MapView)) {
        *object = static_cast<IM2MapView*>(this);
    } else if (iid == __uuidof(IM2GeometryLib)) {
        *object = static_cast<IM2GeometryLib*>(this);
    } else if (iid == __uuidof(IM2Preferences)) {
        *object = static_cast<IM2Preferences*>(this);
    } else if (iid == __uuidof(IHostApplication) || iid == __uuidof(IDispatch)) {
        *object = static_cast<IHostApplication*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT __stdcall FakeHost::SetError(const kavrel::M2Text255*, const kavrel::M2Text255*) {
    return S_OK;
}

HRESULT __stdcall FakeHost::GetLastError(kavrel::M2Text255* a, kavrel::M2Text255* b) {
    kavrel::StoreShortString(*a, std::u16string_view(last_a_));
    kavrel::StoreShortString(*b, std::u16string_view(last_b_));
    return S_OK;
}

HRESULT __stdcall FakeHost::GetMainWindowHandle(HWND* result) {
    *result = main_window_;
    return S_OK;
}

HRESULT __stdcall FakeHost::GetMapInfo(const kavrel::M2Id* id, kavrel::M2DescRecord* info) {
    const HRESULT status = Call("IM2GISDatabase.GetMapInfo", true);
    if (FAILED(status)) {
        return status;
    }
    for (const FakeMap& map : maps) {
        if (map.id == Text(id)) {
            FillRecord(info, map.id, map.name);
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

HRESULT __stdcall FakeHost::GetLayerInfo(const kavrel::M2Id* id, kavrel::M2DescRecord* info) {
    const HRESULT status = Call("IM2GISDatabase.GetLayerInfo", true);
    if (FAILED(status)) {
        return status;
    }
    const FakeLayer* layer = FindLayer(Text(id));
    if (!layer) {
        return E_INVALIDARG;
    }
    FillRecord(info, layer->id, layer->name);
    return S_OK;
}

HRESULT __stdcall FakeHost::GetStyleIds(const kavrel::M2Id* layer_id, IM2IDsList** result) {
    const HRESULT status = Call("IM2GISDatabase.GetStyleIds", true);
    if (FAILED(status)) {
        return status;
    }
    const FakeLayer* layer = FindLayer(Text(layer_id));
    if (!layer) {
        return E_INVALIDARG;
    }
    std::vector<std::string> ids;
    for (const FakeStyle& style : layer->styles) {
        ids.push_back(style.id);
    }
    return Hand<IM2IDsList>(new IdsList(*this, std::move(ids)), result);
}

HRESULT __stdcall FakeHost::GetStyle(const kavrel::M2Id* style_id, IHostM2Style** result) {
    const HRESULT status = Call("IM2GISDatabase.GetStyle", true);
    if (FAILED(status)) {
        return status;
    }
    const FakeStyle* style = FindStyle(Text(style_id));
    if (!style) {
        return E_INVALIDARG;
    }
    return Hand<IHostM2Style>(new M2Style(*this, style->name), result);
}

HRESULT __stdcall FakeHost::GetMapIds(IM2IDsList** result) {
    const HRESULT status = Call("IM2MapProject.GetMapIds", true);
    if (FAILED(status)) {
        return status;
    }
    std::vector<std::string> ids;
    for (const FakeMap& map : maps) {
        ids.push_back(map.id);
    }
    return Hand<IM2IDsList>(new IdsList(*this, std::move(ids)), result);
}

HRESULT __stdcall FakeHost::GetLayerIds(const kavrel::M2Id* map_id, IM2IDsList** result) {
    const HRESULT status = Call("IM2MapProject.GetLayerIds", true);
    if (FAILED(status)) {
        return status;
    }
    for (const FakeMap& map : maps) {
        if (map.id == Text(map_id)) {
            std::vector<std::string> ids;
            for (const FakeLayer& layer : map.layers) {
                ids.push_back(layer.id);
            }
            return Hand<IM2IDsList>(new IdsList(*this, std::move(ids)), result);
        }
    }
    return E_INVALIDARG;
}

HRESULT __stdcall FakeHost::GetMainWindow(IHostMainWindow** result) {
    return Hand<IHostMainWindow>(new MainWindow(*this), result);
}

HRESULT __stdcall FakeHost::GetSelection(IHostSelection**) {
    return E_NOTIMPL;
}

HRESULT __stdcall FakeHost::GetDatabase(IHostDatabase** result) {
    const HRESULT status = Call("IHostApplication.GetDatabase", false);
    return FAILED(status) ? status : Hand<IHostDatabase>(new Database(*this), result);
}

HRESULT __stdcall FakeHost::GetPreferences(IHostPreferences** result) {
    return Hand<IHostPreferences>(new Preferences(*this), result);
}

}  // namespace settings_test
