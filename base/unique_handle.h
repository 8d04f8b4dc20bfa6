// The one owner of a system handle that is released by one call: a registry
// key, a kernel object, a window, a GDI object, a loaded module. Move-only;
// the empty handle is the type's zero (null).
#pragma once

#include <utility>

namespace kavrel {

template <typename H, auto Release>
class UniqueHandle {
  public:
    constexpr UniqueHandle() noexcept = default;
    explicit UniqueHandle(H handle) noexcept : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, H{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, H{}));
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    void reset(H handle = H{}) noexcept {
        if (H old = std::exchange(handle_, handle)) {
            Release(old);
        }
    }
    // For a call that hands the handle back through a pointer.
    H* put() noexcept {
        reset();
        return &handle_;
    }
    H get() const noexcept { return handle_; }
    [[nodiscard]] H Detach() noexcept { return std::exchange(handle_, H{}); }
    explicit operator bool() const noexcept { return handle_ != H{}; }

  private:
    H handle_{};
};

}  // namespace kavrel
