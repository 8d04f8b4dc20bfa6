// The library's in-process COM server: its table of class factories and the
// counts that decide whether the library may be unloaded.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <string>
#include <vector>

namespace kavrel {

class TComObjectFactory;

class TComServer {
  public:
    TComServer() = default;
    TComServer(const TComServer&) = delete;
    TComServer& operator=(const TComServer&) = delete;
    ~TComServer();

    // Takes ownership of the factory and makes it reachable by its class id.
    void AddFactory(std::unique_ptr<TComObjectFactory> factory);
    TComObjectFactory* FindFactory(REFCLSID class_id) const noexcept;
    const std::vector<std::unique_ptr<TComObjectFactory>>& Factories() const noexcept {
        return factories_;
    }
    // Destroys every factory, last registered first.
    void DestroyFactories() noexcept;

    // Live COM objects of the library (add-on objects, command lists).
    void ObjectCreated() noexcept { InterlockedIncrement(&objects_); }
    void ObjectDestroyed() noexcept { InterlockedDecrement(&objects_); }
    // References handed out on the class factories.
    void FactoryReferenced() noexcept { InterlockedIncrement(&factory_refs_); }
    void FactoryUnreferenced() noexcept { InterlockedDecrement(&factory_refs_); }
    // IClassFactory::LockServer.
    void Lock(bool lock) noexcept;

    bool CanUnloadNow() const noexcept {
        return objects_ <= 0 && factory_refs_ <= 0 && locks_ <= 0;
    }

  private:
    std::vector<std::unique_ptr<TComObjectFactory>> factories_;
    volatile LONG objects_ = 0;
    volatile LONG factory_refs_ = 0;
    volatile LONG locks_ = 0;
};

// The one COM server of the library; exists from library load until unload.
extern std::unique_ptr<TComServer> ComServer;

// Counts one live COM object towards the server for as long as it exists.
class ServerObjectCount {
  public:
    ServerObjectCount() noexcept;
    ServerObjectCount(const ServerObjectCount&) = delete;
    ServerObjectCount& operator=(const ServerObjectCount&) = delete;
    ~ServerObjectCount();
};

// Base of the server's class factories: registration properties and the
// IClassFactory reference counting. The server owns every factory; references
// only keep the library loaded.
class TComObjectFactory : public IClassFactory {
  public:
    TComObjectFactory(const CLSID& class_id, std::u16string description)
        : class_id_(class_id), description_(std::move(description)) {}
    TComObjectFactory(const TComObjectFactory&) = delete;
    TComObjectFactory& operator=(const TComObjectFactory&) = delete;
    virtual ~TComObjectFactory() = default;

    const CLSID& ClassId() const noexcept { return class_id_; }
    // The default value of the class's registry key.
    const std::u16string& Description() const noexcept { return description_; }

    HRESULT __stdcall QueryInterface(REFIID iid, void** object) noexcept override;
    ULONG __stdcall AddRef() noexcept override;
    ULONG __stdcall Release() noexcept override;
    HRESULT __stdcall LockServer(BOOL lock) noexcept override;

  private:
    CLSID class_id_;
    std::u16string description_;
    volatile LONG refs_ = 0;
};

}  // namespace kavrel
