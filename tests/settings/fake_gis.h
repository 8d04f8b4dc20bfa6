// A GIS host for driving the add-on through COM: a project of maps, layers,
// styles and attribute tables served on both the SDK layer (8-bit identifiers,
// description records) and the automation layer (wide texts), a preference
// store, a main window with a task panel window, and faults armed per
// operation. It counts its live objects, so a test sees whether the add-on
// let go of every reference it took.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "gis/host_api.h"

namespace settings_test {

struct FakeStyle {
    std::string id;  // code page 1251
    std::u16string name;
};

struct FakeTable {
    std::u16string name;
    std::vector<std::u16string> fields;
};

struct FakeLayer {
    std::string id;
    std::u16string name;
    std::vector<FakeStyle> styles;
    std::vector<FakeTable> tables;
};

struct FakeMap {
    std::string id;
    std::u16string name;
    std::vector<FakeLayer> layers;
};

// Host objects handed out and not yet released (the host object itself aside).
long LiveObjects();

class FakeHost final : public IHostErrorInfo,
                       public IM2AddOnManager,
                       public IM2GISDatabase,
                       public IM2MapProject,
                       public IM2MapObjects,
                       public IM2MapView,
                       public IM2GeometryLib,
                       public IM2Preferences,
                       public IHostApplication {
  public:
    FakeHost();
    ~FakeHost();
    FakeHost(const FakeHost&) = delete;
    FakeHost& operator=(const FakeHost&) = delete;

    IUnknown* Unknown() { return static_cast<IHostErrorInfo*>(this); }
    HWND TaskPanelWindow() const { return panel_window_; }

    std::vector<FakeMap> maps;
    std::map<std::u16string, std::u16string> preferences;

    // The nth call (1 = the next) of "Interface.Operation" fails; SDK
    // operations leave A and B for GetLastError, automation operations set
    // the description as the thread's error information.
    void Fail(const std::string& operation, int nth, std::u16string a, std::u16string b);
    int Calls(const std::string& operation) const;

    // Answers a call: counts it and fails it when a fault is armed for it.
    HRESULT Call(const std::string& operation, bool sdk);
    const FakeLayer* FindLayer(const std::string& id) const;
    const FakeStyle* FindStyle(const std::string& id, const FakeLayer** owner = nullptr) const;

    HRESULT __stdcall QueryInterface(REFIID iid, void** object) override;
    ULONG __stdcall AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG __stdcall Release() override { return static_cast<ULONG>(--refs_); }

    // IHostErrorInfo
    HRESULT __stdcall SetError(const kavrel::M2Text255* source,
                               const kavrel::M2Text255* message) override;
    HRESULT __stdcall GetLastError(kavrel::M2Text255* a, kavrel::M2Text255* b) override;
    // IM2AddOnManager
    HRESULT __stdcall GetMainWindowHandle(HWND* result) override;
    // IM2GISDatabase
    HRESULT __stdcall GetMapInfo(const kavrel::M2Id* id, kavrel::M2DescRecord* info) override;
    HRESULT __stdcall GetLayerInfo(const kavrel::M2Id* id, kavrel::M2DescRecord* info) override;
    HRESULT __stdcall GetStyleIds(const kavrel::M2Id* layer_id, IM2IDsList** result) override;
    HRESULT __stdcall GetStyle(const kavrel::M2Id* style_id, IHostM2Style** result) override;
    // IM2MapProject
    HRESULT __stdcall GetMapIds(IM2IDsList** result) override;
    HRESULT __stdcall GetLayerIds(const kavrel::M2Id* map_id, IM2IDsList** result) override;
    // IHostApplication
    HRESULT __stdcall GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT __stdcall GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT __stdcall GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT __stdcall Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                             UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT __stdcall GetMainWindow(IHostMainWindow** result) override;
    HRESULT __stdcall GetSelection(IHostSelection** result) override;
    HRESULT __stdcall GetDatabase(IHostDatabase** result) override;
    HRESULT __stdcall GetPreferences(IHostPreferences** result) override;
    // Placeholders of every interface above.
    HRESULT __stdcall Reserved1() override { return E_NOTIMPL; }
    HRESULT __stdcall Reserved2() override { return E_NOTIMPL; }
    HRESULT __stdcall Reserved3() override { return E_NOTIMPL; }
    HRESULT __stdcall Reserved4() override { return E_NOTIMPL; }
    HRESULT __stdcall Reserved5() override { return E_NOTIMPL; }
    HRESULT __stdcall Reserved6() override { return E_NOTIMPL; }
    HRESULT __stdcall Reserved7() override { return E_NOTIMPL; }

  private:
    struct Fault {
        int nth;
        std::u16string a;
        std::u16string b;
    };
    LONG refs_ = 0;
    HWND main_window_ = nullptr;
    HWND panel_window_ = nullptr;
    std::map<std::string, int> calls_;
    std::map<std::string, Fault> faults_;
    std::u16string last_a_;
    std::u16string last_b_;
};

}  // namespace settings_test
