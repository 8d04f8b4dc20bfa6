// A small add-on that the host's session tests load in place of the real one.
// It is a real IHostAddOn COM server built from the shared declarations; what
// it sees it writes back to the host's preference store ("probe_*" keys),
// where the session's result file shows it.
//
// Commands: 1 shows a message box; 3 opens the probe form TfProbe (an edit,
// a check box, a combo box, a tree, a button that shows a message box and one
// that opens the modal form TfProbeModal); 4 edits object O1 and commits;
// 5 keeps a selection reference; 6 fails through the host's error channel.
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>

#include "base/bstr.h"
#include "base/com_ptr.h"
#include "base/gdi.h"
#include "base/handle_casts.h"
#include "base/short_string.h"
#include "base/variant.h"
#include "base/wide.h"
#include "gis/host_api.h"
#include "host/com/host_windows.h"

namespace {

using kavrel::Bstr;
using kavrel::ComPtr;

HMODULE g_module = nullptr;
LONG g_objects = 0;
ComPtr<IHostApplication> g_app;
ComPtr<IHostErrorInfo> g_errors;
HWND g_main = nullptr;
ComPtr<IHostSelection> g_kept_selection;

void Record(const wchar_t* key, const std::wstring& value) {
    if (!g_app) {
        return;
    }
    ComPtr<IHostPreferences> preferences;
    if (FAILED(g_app->GetPreferences(preferences.put()))) {
        return;
    }
    Bstr k(std::u16string(reinterpret_cast<const char16_t*>(key)));
    Bstr v(kavrel::FromWindowsString(value));
    preferences->WriteString(0, 0, k.get(), v.get());
}

std::wstring Text(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

HWND Control(HWND parent, const wchar_t* kind, const wchar_t* caption, DWORD style, int id,
             const wchar_t* name, int y) {
    HWND control =
        CreateWindowExW(0, kind, caption, WS_CHILD | WS_VISIBLE | style, 10, y, 200,
                        kind == std::wstring(WC_COMBOBOXW) ? 100 : 24, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_module, nullptr);
    SetPropW(control, (std::wstring(L"kavrel:") + name).c_str(), reinterpret_cast<HANDLE>(1));
    return control;
}

// ---- the modal form ----------------------------------------------------------

bool g_modal_done = false;

LRESULT CALLBACK ModalProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_COMMAND && LOWORD(wparam) == 1 && HIWORD(wparam) == BN_CLICKED) {
        Record(L"probe_modal_value", Text(GetDlgItem(window, 2)));
        Record(L"probe_modal_result", L"ok");
        g_modal_done = true;
        return 0;
    }
    if (message == WM_CLOSE) {
        Record(L"probe_modal_result", L"closed");
        g_modal_done = true;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void RunModal(HWND owner) {
    HWND modal = CreateWindowExW(0, L"TfProbeModal", L"Проба", WS_POPUP | WS_CAPTION, 100, 100, 240,
                                 120, owner, nullptr, g_module, nullptr);
    Control(modal, L"EDIT", L"", WS_BORDER, 2, L"eValue", 10);
    Control(modal, L"BUTTON", L"OK", BS_PUSHBUTTON, 1, L"bOk", 40);
    EnableWindow(owner, FALSE);
    ShowWindow(modal, SW_SHOW);
    g_modal_done = false;
    MSG msg;
    while (!g_modal_done && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EnableWindow(owner, TRUE);
}

// ---- the probe form ----------------------------------------------------------

enum { kText = 10, kFlag, kList, kTree, kMessage, kModal, kTyped };

LRESULT CALLBACK ProbeProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    switch (message) {
        case WM_COMMAND: {
            HWND control = reinterpret_cast<HWND>(lparam);
            switch (LOWORD(wparam)) {
                case kText:
                    if (HIWORD(wparam) == EN_CHANGE) {
                        Record(L"probe_text", Text(control));
                    }
                    break;
                case kFlag:
                    Record(L"probe_flag",
                           SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? L"1" : L"0");
                    break;
                case kList:
                    if (HIWORD(wparam) == CBN_SELCHANGE) {
                        Record(L"probe_choice",
                               std::to_wstring(SendMessageW(control, CB_GETCURSEL, 0, 0)));
                    }
                    break;
                case kTyped:
                    if (HIWORD(wparam) == CBN_EDITCHANGE) {
                        Record(L"probe_typed", Text(control));
                    }
                    break;
                case kMessage: {
                    const int answer =
                        MessageBoxW(window, (L"Текст: " + Text(GetDlgItem(window, kText))).c_str(),
                                    L"Проба", MB_YESNO);
                    Record(L"probe_answer", std::to_wstring(answer));
                    break;
                }
                case kModal:
                    RunModal(window);
                    break;
            }
            return 0;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lparam);
            if (header->idFrom != kTree) {
                break;
            }
            HTREEITEM item = reinterpret_cast<HTREEITEM>(
                SendMessageW(header->hwndFrom, TVM_GETNEXTITEM, TVGN_CARET, 0));
            wchar_t text[128] = {};
            TVITEMW tv{};
            tv.mask = TVIF_TEXT | TVIF_HANDLE;
            tv.hItem = item;
            tv.pszText = text;
            tv.cchTextMax = 128;
            SendMessageW(header->hwndFrom, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
            if (header->code == TVN_SELCHANGEDW) {
                Record(L"probe_node", text);
            } else if (header->code == NM_DBLCLK) {
                Record(L"probe_double_click", text);
            }
            return 0;
        }
        case WM_CLOSE:
            Record(L"probe_closed", L"1");
            break;  // the default closing destroys the window
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

HTREEITEM AddNode(HWND tree, HTREEITEM parent, const wchar_t* text) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<wchar_t*>(text);
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void OpenProbeForm() {
    HWND form = CreateWindowExW(0, L"TfProbe", L"Проба", WS_OVERLAPPEDWINDOW, 50, 50, 300, 400,
                                g_main, nullptr, g_module, nullptr);
    Control(form, L"EDIT", L"", WS_BORDER, kText, L"eText", 10);
    Control(form, L"BUTTON", L"Флаг", BS_AUTOCHECKBOX, kFlag, L"cbFlag", 40);
    HWND list = Control(form, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST, kList, L"cbList", 70);
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"первый"));
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"второй"));
    HWND tree = CreateWindowExW(0, WC_TREEVIEWW, L"",
                                WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_SHOWSELALWAYS, 10, 100,
                                200, 120, form, reinterpret_cast<HMENU>(kTree), g_module, nullptr);
    SetPropW(tree, L"kavrel:trv1", reinterpret_cast<HANDLE>(1));
    HTREEITEM map = AddNode(tree, TVI_ROOT, L"Карта");
    HTREEITEM layer = AddNode(tree, map, L"Рельеф");
    AddNode(tree, layer, L"Точка");
    AddNode(tree, layer, L"Подпись");
    Control(form, L"BUTTON", L"Сообщение", BS_PUSHBUTTON, kMessage, L"bMessage", 230);
    Control(form, L"BUTTON", L"Окно", BS_PUSHBUTTON, kModal, L"bModal", 260);
    Control(form, WC_COMBOBOXW, L"", CBS_DROPDOWN, kTyped, L"cbTyped", 290);
    ShowWindow(form, SW_SHOW);
}

void RegisterClasses() {
    WNDCLASSW wc{};
    wc.hInstance = g_module;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpfnWndProc = ProbeProc;
    wc.lpszClassName = L"TfProbe";
    RegisterClassW(&wc);
    wc.lpfnWndProc = ModalProc;
    wc.lpszClassName = L"TfProbeModal";
    RegisterClassW(&wc);
}

// ---- host edits ----------------------------------------------------------------

HRESULT EditObject() {
    ComPtr<IHostDatabase> database;
    HRESULT hr = g_app->GetDatabase(database.put());
    ComPtr<IHostMapObjects> objects;
    if (SUCCEEDED(hr))
        hr = database->GetMapObjects(objects.put());
    ComPtr<IHostMapObject> object;
    Bstr id(u"O1");
    if (SUCCEEDED(hr))
        hr = objects->GetObject(id.get(), object.put());
    ComPtr<IHostShapes> shapes;
    if (SUCCEEDED(hr))
        hr = object->GetShapes(shapes.put());
    ComPtr<IHostShape> label;
    if (SUCCEEDED(hr))
        hr = shapes->GetItem(1, label.put());
    ComPtr<IHostContour> contour;
    if (SUCCEEDED(hr))
        hr = label->GetContour(contour.put());
    ComPtr<IHostContourPart> part;
    if (SUCCEEDED(hr))
        hr = contour->GetPart(0, part.put());
    if (SUCCEEDED(hr))
        hr = part->SetVertex(1, 100.7, 200.2, 0);
    ComPtr<IHostSemantics> semantics;
    if (SUCCEEDED(hr))
        hr = object->GetSemantics(semantics.put());
    Bstr table(u"A"), field(u"H");
    if (SUCCEEDED(hr)) {
        hr = semantics->SetValue(table.get(), field.get(), kavrel::Variant::Double(101.5).get(), 0);
    }
    if (SUCCEEDED(hr))
        hr = objects->CommitChanges();
    if (FAILED(hr)) {
        ComPtr<IErrorInfo> info;
        Bstr description;
        if (GetErrorInfo(0, info.put()) == S_OK && info) {
            info->GetDescription(description.put());
        }
        Record(L"probe_error", kavrel::WindowsString(description.str()));
        return hr;
    }
    ComPtr<IHostMainWindow> main;
    ComPtr<IHostMapWindow> map;
    if (SUCCEEDED(g_app->GetMainWindow(main.put())) && SUCCEEDED(main->GetMapWindow(map.put()))) {
        map->Redraw();
    }
    return S_OK;
}

// ---- COM objects ----------------------------------------------------------------

class MacroList : public IM2MacroAttrsList {
  public:
    virtual ~MacroList() = default;
    explicit MacroList(HBITMAP bitmap) {
        const struct {
            LONG id;
            const char16_t* caption;
        } rows[] = {{1, u"Сообщение"}, {3, u"Форма"}, {4, u"Правка"}, {5, u"Утечка"}, {6, u"Сбой"}};
        count_ = 0;
        for (const auto& row : rows) {
            kavrel::MacroAttrs& item = items_[count_++];
            std::memset(&item, 0, sizeof item);
            item.Id = row.id;
            kavrel::StoreShortString(item.Caption, std::u16string_view(row.caption));
            kavrel::StoreShortString(item.CategoryName, std::u16string_view(u"Проба"));
        }
        items_[0].Bitmap = kavrel::BitmapToRecord(bitmap);
    }
    HRESULT __stdcall QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != __uuidof(IM2MacroAttrsList))
            return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG __stdcall AddRef() override { return ++refs_; }
    ULONG __stdcall Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT __stdcall GetItem(LONG index, kavrel::MacroAttrs* item) override {
        if (index < 0 || index >= count_)
            return E_INVALIDARG;
        *item = items_[index];
        return S_OK;
    }
    HRESULT __stdcall GetCount(LONG* result) override {
        *result = count_;
        return S_OK;
    }
    HRESULT __stdcall Clear() override { return E_NOTIMPL; }
    HRESULT __stdcall Insert(LONG, const kavrel::MacroAttrs*) override { return E_NOTIMPL; }

  private:
    ULONG refs_ = 1;
    kavrel::MacroAttrs items_[5];
    LONG count_;
};

class ProbeAddon : public IHostAddOn {
  public:
    ProbeAddon() {
        InterlockedIncrement(&g_objects);
        bitmap_.reset(CreateBitmap(16, 16, 1, 32, nullptr));
    }
    virtual ~ProbeAddon() { InterlockedDecrement(&g_objects); }
    HRESULT __stdcall QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != __uuidof(IHostAddOn))
            return E_NOINTERFACE;
        *out = this;
        AddRef();
        return S_OK;
    }
    ULONG __stdcall AddRef() override { return ++refs_; }
    ULONG __stdcall Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }
    HRESULT __stdcall GetInfo(kavrel::AddOnInfo* info) override {
        std::memset(info, 0, sizeof *info);
        std::memcpy(&info->ClassId, &kavrel::kAddonClassId, sizeof info->ClassId);
        kavrel::StoreShortString(info->Name, std::u16string_view(u"PROBE"));
        kavrel::StoreShortString(info->Caption, std::u16string_view(u"Проба"));
        info->SdkVersion = 260;
        return S_OK;
    }
    HRESULT __stdcall Connect(IUnknown* host) override {
        const IID* iids[] = {&__uuidof(IM2AddOnManager), &__uuidof(IM2GISDatabase),
                             &__uuidof(IM2MapProject),   &__uuidof(IM2MapObjects),
                             &__uuidof(IM2MapView),      &__uuidof(IM2GeometryLib),
                             &__uuidof(IM2Preferences)};
        if (FAILED(host->QueryInterface(__uuidof(IHostErrorInfo), g_errors.put_void()))) {
            return E_FAIL;
        }
        for (int i = 0; i < 7; ++i) {
            if (FAILED(host->QueryInterface(*iids[i], sdk_[i].put_void())))
                return E_FAIL;
        }
        auto* manager = static_cast<IM2AddOnManager*>(static_cast<IUnknown*>(sdk_[0].get()));
        if (FAILED(manager->GetMainWindowHandle(&g_main)))
            return E_FAIL;
        g_app.reset();
        return manager->QueryInterface(__uuidof(IHostApplication), g_app.put_void());
    }
    HRESULT __stdcall Disconnect() override {
        for (auto& reference : sdk_)
            reference.reset();
        g_errors.reset();
        g_app.reset();
        g_kept_selection.reset();
        return S_OK;
    }
    HRESULT __stdcall GetMacroAttrs(IM2MacroAttrsList** result) override {
        *result = new MacroList(bitmap_.get());
        return S_OK;
    }
    HRESULT __stdcall ExecuteMacro(LONG id, LONG) override {
        switch (id) {
            case 1:
                Record(L"probe_answer",
                       std::to_wstring(MessageBoxW(g_main, L"Команда 1", L"Проба", MB_OK)));
                return S_OK;
            case 3:
                OpenProbeForm();
                return S_OK;
            case 4:
                return EditObject();
            case 5:
                return g_app->GetSelection(g_kept_selection.put());
            case 6: {
                const auto source = kavrel::MakeShortString<255>(u"Проба");
                const auto message = kavrel::MakeShortString<255>(u"Команда 6 не выполнена");
                g_errors->SetError(&source, &message);
                return E_FAIL;
            }
        }
        return E_INVALIDARG;
    }
    HRESULT __stdcall Notify(LONG, LONG) override { return S_OK; }
    HRESULT __stdcall SaveBitmap(IStream* stream, HBITMAP bitmap) override {
        if (!bitmap)
            return S_FALSE;
        // A 16 x 16, 32-bit BMP file image of a blank bitmap, behind its length.
        const DWORD pixels = 16 * 16 * 4;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER header{};
        header.biSize = sizeof header;
        header.biWidth = 16;
        header.biHeight = 16;
        header.biPlanes = 1;
        header.biBitCount = 32;
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = file.bfOffBits + pixels;
        std::string image(reinterpret_cast<const char*>(&file), sizeof file);
        image.append(reinterpret_cast<const char*>(&header), sizeof header);
        image.append(pixels, '\0');
        const DWORD length = static_cast<DWORD>(image.size());
        ULONG written = 0;
        HRESULT hr = stream->Write(&length, 4, &written);
        if (SUCCEEDED(hr))
            hr = stream->Write(image.data(), length, &written);
        return hr;
    }

  private:
    ULONG refs_ = 1;
    kavrel::BitmapHandle bitmap_;
    ComPtr<IUnknown> sdk_[7];
};

class Factory : public IClassFactory {
  public:
    HRESULT __stdcall QueryInterface(REFIID iid, void** out) override {
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory)
            return E_NOINTERFACE;
        *out = this;
        return S_OK;
    }
    ULONG __stdcall AddRef() override { return 2; }
    ULONG __stdcall Release() override { return 1; }
    HRESULT __stdcall CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        auto addon = ComPtr<ProbeAddon>::Attach(new ProbeAddon());
        return addon->QueryInterface(iid, out);
    }
    HRESULT __stdcall LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        RegisterClasses();
    }
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (clsid != kavrel::kAddonClassId) {
        *out = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
    return g_objects == 0 ? S_OK : S_FALSE;
}

extern "C" HRESULT __stdcall M2DllRegisterAddOn(const char* applied, LONG active) {
    // Answers S_OK for an active registration without an applied name, so that
    // a test sees both arguments arrive.
    return (applied == nullptr && active != 0) ? S_OK : S_FALSE;
}
