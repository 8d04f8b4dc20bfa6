// The host object handed to IHostAddOn.Connect. It is one COM identity whose
// interfaces (the error channel, the seven SDK interfaces and the application
// object) are tear-offs with their own reference counts, so that the host
// can tell which of them its caller still holds.
#pragma once

#include <windows.h>

#include "gis/host_api.h"
#include "host/com/com_base.h"
#include "host/com/host_context.h"

namespace kavrel::host {

class HostObjectRoot;

// One interface of the host object; QueryInterface goes to the root.
template <typename I>
class TearOff : public I {
  public:
    TearOff(HostObjectRoot& root, const char* interface_name)
        : root_(root), interface_name_(interface_name) {}
    TearOff(const TearOff&) = delete;
    TearOff& operator=(const TearOff&) = delete;
    virtual ~TearOff() = default;

    HRESULT __stdcall QueryInterface(REFIID iid, void** out) override;
    ULONG __stdcall AddRef() override;
    ULONG __stdcall Release() override;

  protected:
    HostObjectRoot& root_;
    HostContext& host() const;
    const char* interface_name_;

  private:
    LONG references_ = 0;
};

class IdentityPart : public TearOff<IUnknown> {
  public:
    using TearOff::TearOff;
};

class SupportErrorInfoPart : public TearOff<ISupportErrorInfo> {
  public:
    using TearOff::TearOff;
    HRESULT __stdcall InterfaceSupportsErrorInfo(REFIID iid) override;
};

class ErrorInfoPart : public TearOff<IHostErrorInfo> {
  public:
    using TearOff::TearOff;
    HRESULT __stdcall SetError(const M2Text255* source, const M2Text255* message) override;
    HRESULT __stdcall GetLastError(M2Text255* a, M2Text255* b) override;
};

class AddOnManagerPart : public TearOff<IM2AddOnManager> {
  public:
    using TearOff::TearOff;
    HRESULT __stdcall GetMainWindowHandle(HWND* result) override;
};

class GisDatabasePart : public TearOff<IM2GISDatabase> {
  public:
    using TearOff::TearOff;
    HRESULT __stdcall Reserved1() override;
    HRESULT __stdcall Reserved2() override;
    HRESULT __stdcall Reserved3() override;
    HRESULT __stdcall Reserved4() override;
    HRESULT __stdcall Reserved5() override;
    HRESULT __stdcall GetMapInfo(const M2Id* map_id, M2DescRecord* info) override;
    HRESULT __stdcall Reserved7() override;
    HRESULT __stdcall GetLayerInfo(const M2Id* layer_id, M2DescRecord* info) override;
    HRESULT __stdcall GetStyleIds(const M2Id* layer_id, IM2IDsList** result) override;
    HRESULT __stdcall GetStyle(const M2Id* style_id, IHostM2Style** result) override;
};

class MapProjectPart : public TearOff<IM2MapProject> {
  public:
    using TearOff::TearOff;
    HRESULT __stdcall Reserved1() override;
    HRESULT __stdcall Reserved2() override;
    HRESULT __stdcall Reserved3() override;
    HRESULT __stdcall Reserved4() override;
    HRESULT __stdcall Reserved5() override;
    HRESULT __stdcall Reserved6() override;
    HRESULT __stdcall Reserved7() override;
    HRESULT __stdcall GetMapIds(IM2IDsList** result) override;
    HRESULT __stdcall GetLayerIds(const M2Id* map_id, IM2IDsList** result) override;
};

class ApplicationPart : public TearOff<IHostApplication> {
  public:
    using TearOff::TearOff;
    HRESULT __stdcall GetTypeInfoCount(UINT* count) override;
    HRESULT __stdcall GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT __stdcall GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT __stdcall Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                             UINT*) override;
    HRESULT __stdcall GetMainWindow(IHostMainWindow** result) override;
    HRESULT __stdcall GetSelection(IHostSelection** result) override;
    HRESULT __stdcall GetDatabase(IHostDatabase** result) override;
    HRESULT __stdcall Reserved4() override;
    HRESULT __stdcall GetPreferences(IHostPreferences** result) override;
};

class HostObjectRoot {
  public:
    explicit HostObjectRoot(HostContext& host);
    HostObjectRoot(const HostObjectRoot&) = delete;
    HostObjectRoot& operator=(const HostObjectRoot&) = delete;

    HostContext& host() const { return host_; }
    IUnknown* identity() { return &identity_; }
    HRESULT QueryInterface(REFIID iid, void** out);

    void HostAddRef() noexcept { ++references_; }
    void HostRelease() noexcept;

  private:
    HostContext& host_;
    LONG references_ = 0;  // the host's and every part's

    IdentityPart identity_;
    SupportErrorInfoPart support_;
    ErrorInfoPart errors_;
    AddOnManagerPart manager_;
    GisDatabasePart database_;
    MapProjectPart project_;
    TearOff<IM2MapObjects> map_objects_;
    TearOff<IM2MapView> map_view_;
    TearOff<IM2GeometryLib> geometry_;
    TearOff<IM2Preferences> preferences_;
    ApplicationPart application_;
};

template <typename I>
HRESULT __stdcall TearOff<I>::QueryInterface(REFIID iid, void** out) {
    return root_.QueryInterface(iid, out);
}

template <typename I>
ULONG __stdcall TearOff<I>::AddRef() {
    host().accounting().Reference(interface_name_, 1);
    root_.HostAddRef();
    return static_cast<ULONG>(++references_);
}

template <typename I>
ULONG __stdcall TearOff<I>::Release() {
    host().accounting().Reference(interface_name_, -1);
    const LONG left = --references_;
    root_.HostRelease();  // may destroy the root and this part with it
    return static_cast<ULONG>(left);
}

template <typename I>
HostContext& TearOff<I>::host() const {
    return root_.host();
}

}  // namespace kavrel::host
