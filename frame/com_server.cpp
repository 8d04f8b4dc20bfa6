#include "frame/com_server.h"

#include <algorithm>

namespace kavrel {

std::unique_ptr<TComServer> ComServer;

TComServer::~TComServer() {
    DestroyFactories();
}

void TComServer::AddFactory(std::unique_ptr<TComObjectFactory> factory) {
    factories_.push_back(std::move(factory));
}

TComObjectFactory* TComServer::FindFactory(REFCLSID class_id) const noexcept {
    for (const auto& factory : factories_) {
        if (IsEqualCLSID(factory->ClassId(), class_id)) {
            return factory.get();
        }
    }
    return nullptr;
}

void TComServer::DestroyFactories() noexcept {
    while (!factories_.empty()) {
        // Out of the table first: a factory's destructor may look the table up.
        std::unique_ptr<TComObjectFactory> last = std::move(factories_.back());
        factories_.pop_back();
        last.reset();
    }
}

void TComServer::Lock(bool lock) noexcept {
    if (lock) {
        InterlockedIncrement(&locks_);
    } else if (locks_ > 0) {
        InterlockedDecrement(&locks_);
    }
}

ServerObjectCount::ServerObjectCount() noexcept {
    if (ComServer) {
        ComServer->ObjectCreated();
    }
}

ServerObjectCount::~ServerObjectCount() {
    if (ComServer) {
        ComServer->ObjectDestroyed();
    }
}

HRESULT __stdcall TComObjectFactory::QueryInterface(REFIID iid, void** object) noexcept {
    if (!object) {
        return E_POINTER;
    }
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG __stdcall TComObjectFactory::AddRef() noexcept {
    if (ComServer) {
        ComServer->FactoryReferenced();
    }
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG __stdcall TComObjectFactory::Release() noexcept {
    if (refs_ <= 0) {
        return 0;  // an unbalanced Release must not unbalance the server's count
    }
    if (ComServer) {
        ComServer->FactoryUnreferenced();
    }
    return static_cast<ULONG>(InterlockedDecrement(&refs_));
}

HRESULT __stdcall TComObjectFactory::LockServer(BOOL lock) noexcept {
    if (ComServer) {
        ComServer->Lock(lock != FALSE);
    }
    return S_OK;
}

}  // namespace kavrel
