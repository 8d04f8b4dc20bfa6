// Owner of one COM interface reference.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cassert>
#include <utility>

namespace kavrel {

template <typename T>
class ComPtr {
  public:
    ComPtr() noexcept = default;
    ComPtr(std::nullptr_t) noexcept {}
    // Takes a new reference on p.
    explicit ComPtr(T* p) noexcept : ptr_(p) {
        if (ptr_) {
            ptr_->AddRef();
        }
    }
    ComPtr(const ComPtr& other) noexcept : ComPtr(other.ptr_) {}
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(ptr_, other.ptr_);
        return *this;
    }

    // Adopts a reference the caller already owns.
    static ComPtr Attach(T* p) noexcept {
        ComPtr result;
        result.ptr_ = p;
        return result;
    }
    // Gives the reference up without releasing it.
    [[nodiscard]] T* Detach() noexcept { return std::exchange(ptr_, nullptr); }

    void reset() noexcept {
        if (T* p = std::exchange(ptr_, nullptr)) {
            p->Release();
        }
    }

    // The slot for an out argument; the pointer must be empty.
    T** put() noexcept {
        assert(ptr_ == nullptr);
        return &ptr_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

    T* get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    // QueryInterface for U; empty on failure, the HRESULT through hr.
    template <typename U>
    ComPtr<U> As(HRESULT* hr = nullptr) const noexcept {
        ComPtr<U> result;
        HRESULT status = E_POINTER;
        if (ptr_) {
            status = ptr_->QueryInterface(__uuidof(U), result.put_void());
        }
        if (hr) {
            *hr = status;
        }
        return result;
    }

  private:
    T* ptr_ = nullptr;
};

}  // namespace kavrel
