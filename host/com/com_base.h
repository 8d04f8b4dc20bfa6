// Bases of the host's COM objects. Each object implements one host interface;
// the references its callers hold are counted per interface in the host's
// accounting, while the host's own references (HostHold) are not.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstddef>
#include <string>
#include <utility>

#include "gis/host_api.h"

namespace kavrel::host {

class HostContext;

// Answers E_NOTIMPL, counted as a call, for the placeholder slots of an interface.
HRESULT NotImplemented(HostContext& host, const char* interface_name, int position, bool automation,
                       REFIID iid) noexcept;

// A reference the host keeps on one of its own objects.
template <typename T>
class HostHold {
  public:
    HostHold() noexcept = default;
    explicit HostHold(T* object) noexcept : object_(object) {
        if (object_) {
            object_->HostAddRef();
        }
    }
    HostHold(const HostHold&) = delete;
    HostHold& operator=(const HostHold&) = delete;
    HostHold(HostHold&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    HostHold& operator=(HostHold&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = std::exchange(other.object_, nullptr);
        }
        return *this;
    }
    ~HostHold() { reset(); }
    void reset() noexcept {
        if (T* object = std::exchange(object_, nullptr)) {
            object->HostRelease();
        }
    }
    T* get() const noexcept { return object_; }
    T* operator->() const noexcept { return object_; }
    explicit operator bool() const noexcept { return object_ != nullptr; }

  private:
    T* object_ = nullptr;
};

// Reference counting shared by both layers: the callers' references go to the
// accounting under the interface's name.
class CountedObject {
  public:
    CountedObject(HostContext& host, const char* interface_name)
        : host_(host), interface_name_(interface_name) {}
    virtual ~CountedObject() = default;

    ULONG CallerAddRef() noexcept;
    ULONG CallerRelease() noexcept;
    void HostAddRef() noexcept { ++references_; }
    // Out of line and never inlined: where the caller knows the dynamic type,
    // GCC's optimiser mistakes `delete this` through the base for a free of a
    // non-heap pointer.
    [[gnu::noinline]] void HostRelease() noexcept;

    HostContext& host() const { return host_; }
    const char* interface_name() const { return interface_name_; }

    // A click on many marks makes and drops host objects by the million.
    // Blocks of a size are kept on a free list of their own (per thread)
    // instead of going back to the process heap, whose cost per block grows
    // with the number of blocks it holds; a block just freed, still in the
    // cache, is the next one handed out.
    static void* operator new(std::size_t size);
    static void operator delete(void* block, std::size_t size) noexcept;

  private:
    HostContext& host_;
    const char* interface_name_;
    LONG references_ = 0;
};

#define KAVREL_HOST_RESERVED(p, automation)                                          \
    HRESULT __stdcall Reserved##p() {                                                \
        return NotImplemented(host(), interface_name(), p, automation, __uuidof(I)); \
    }

// An automation object: a dual interface with a minimal IDispatch (no type
// information, no late binding) and ISupportErrorInfo.
template <typename I>
class AutomationObject : public I, public ISupportErrorInfo, public CountedObject {
  public:
    using Interface = I;
    AutomationObject(HostContext& host, const char* interface_name)
        : CountedObject(host, interface_name) {}

    HRESULT __stdcall QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(I)) {
            *out = static_cast<I*>(this);
        } else if (iid == IID_ISupportErrorInfo) {
            *out = static_cast<ISupportErrorInfo*>(this);
        } else {
            return E_NOINTERFACE;
        }
        CallerAddRef();
        return S_OK;
    }
    ULONG __stdcall AddRef() override { return CallerAddRef(); }
    ULONG __stdcall Release() override { return CallerRelease(); }

    HRESULT __stdcall GetTypeInfoCount(UINT* count) override {
        if (!count) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT __stdcall GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        if (info) {
            *info = nullptr;
        }
        return E_NOTIMPL;
    }
    HRESULT __stdcall GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT __stdcall Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                             UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT __stdcall InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == __uuidof(I) ? S_OK : S_FALSE;
    }

    // Placeholders: those the interface declares are overridden here.
    KAVREL_HOST_RESERVED(1, true)
    KAVREL_HOST_RESERVED(2, true)
    KAVREL_HOST_RESERVED(3, true)
    KAVREL_HOST_RESERVED(4, true)
    KAVREL_HOST_RESERVED(5, true)
    KAVREL_HOST_RESERVED(6, true)
    KAVREL_HOST_RESERVED(7, true)
    KAVREL_HOST_RESERVED(8, true)
    KAVREL_HOST_RESERVED(9, true)
    KAVREL_HOST_RESERVED(10, true)
    KAVREL_HOST_RESERVED(11, true)
    KAVREL_HOST_RESERVED(12, true)
    KAVREL_HOST_RESERVED(13, true)
    KAVREL_HOST_RESERVED(14, true)
    KAVREL_HOST_RESERVED(15, true)
    KAVREL_HOST_RESERVED(16, true)
    KAVREL_HOST_RESERVED(17, true)
    KAVREL_HOST_RESERVED(18, true)
};

// An object of the SDK layer: IUnknown and the one interface.
template <typename I>
class SdkObject : public I, public CountedObject {
  public:
    using Interface = I;
    SdkObject(HostContext& host, const char* interface_name)
        : CountedObject(host, interface_name) {}

    HRESULT __stdcall QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = nullptr;
        if (iid != IID_IUnknown && iid != __uuidof(I)) {
            return E_NOINTERFACE;
        }
        *out = static_cast<I*>(this);
        CallerAddRef();
        return S_OK;
    }
    ULONG __stdcall AddRef() override { return CallerAddRef(); }
    ULONG __stdcall Release() override { return CallerRelease(); }

    KAVREL_HOST_RESERVED(1, false)
    KAVREL_HOST_RESERVED(2, false)
    KAVREL_HOST_RESERVED(3, false)
    KAVREL_HOST_RESERVED(4, false)
    KAVREL_HOST_RESERVED(5, false)
    KAVREL_HOST_RESERVED(6, false)
    KAVREL_HOST_RESERVED(7, false)
};

#undef KAVREL_HOST_RESERVED

// Hands a new object out through an out argument: the caller's reference.
template <typename T>
typename T::Interface* HandOut(T* object) {
    object->CallerAddRef();
    return object;
}

}  // namespace kavrel::host
