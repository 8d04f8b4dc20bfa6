// Base of the add-on's own SDK interface objects: reference counting with plain
// increments (one thread) and an optional controlling outer object.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "frame/com_server.h"

namespace kavrel {

class TAggregatedInterface {
  public:
    // controller: the outer object's IUnknown, held without a count; null for a
    // stand-alone object.
    explicit TAggregatedInterface(IUnknown* controller) noexcept : Controller(controller) {}
    TAggregatedInterface(const TAggregatedInterface&) = delete;
    TAggregatedInterface& operator=(const TAggregatedInterface&) = delete;
    virtual ~TAggregatedInterface() = default;

  protected:
    HRESULT DoQueryInterface(REFIID iid, void** object) noexcept {
        if (Controller) {
            return Controller->QueryInterface(iid, object);
        }
        if (!object) {
            return E_POINTER;
        }
        *object = FindInterface(iid);
        if (!*object) {
            return E_NOINTERFACE;
        }
        DoAddRef();
        return S_OK;
    }
    ULONG DoAddRef() noexcept {
        if (Controller) {
            return Controller->AddRef();
        }
        return static_cast<ULONG>(++RefCount);
    }
    ULONG DoRelease() noexcept {
        if (Controller) {
            return Controller->Release();
        }
        const LONG result = --RefCount;
        if (result <= 0) {
            delete this;
        }
        return static_cast<ULONG>(result);
    }

    // The object's own interface table: the interface pointer for iid, or null.
    virtual void* FindInterface(REFIID iid) noexcept = 0;

    LONG RefCount = 0;
    IUnknown* Controller;

  private:
    // Keeps the library loaded while the object lives.
    ServerObjectCount server_count_;
};

// A stand-alone interface object.
class TInterface : public TAggregatedInterface {
  public:
    TInterface() noexcept : TAggregatedInterface(nullptr) {}
};

}  // namespace kavrel
