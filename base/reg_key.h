// Owner of one registry key handle.
#pragma once

#include <windows.h>

#include <utility>

namespace kavrel {

class RegKey {
  public:
    RegKey() noexcept = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            reset();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    ~RegKey() { reset(); }

    void reset() noexcept {
        if (HKEY k = std::exchange(key_, nullptr)) {
            RegCloseKey(k);
        }
    }
    HKEY* put() noexcept {
        reset();
        return &key_;
    }
    HKEY get() const noexcept { return key_; }
    explicit operator bool() const noexcept { return key_ != nullptr; }

  private:
    HKEY key_ = nullptr;
};

}  // namespace kavrel
