// Owner of one BSTR, and conversions between BSTR and the add-on's texts.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <cassert>
#include <new>
#include <string>
#include <string_view>
#include <utility>

namespace kavrel {

class Bstr {
  public:
    Bstr() noexcept = default;
    explicit Bstr(std::u16string_view text) {
        value_ = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                   static_cast<UINT>(text.size()));
        if (!value_) {
            throw std::bad_alloc();
        }
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) {
            reset();
            value_ = std::exchange(other.value_, nullptr);
        }
        return *this;
    }
    ~Bstr() { reset(); }

    void reset() noexcept {
        if (BSTR v = std::exchange(value_, nullptr)) {
            SysFreeString(v);
        }
    }
    // The slot for an out argument; the owner must be empty.
    BSTR* put() noexcept {
        assert(value_ == nullptr);
        return &value_;
    }
    BSTR get() const noexcept { return value_; }
    [[nodiscard]] BSTR Detach() noexcept { return std::exchange(value_, nullptr); }

    // A null BSTR is the empty text.
    std::u16string str() const {
        if (!value_) {
            return {};
        }
        return std::u16string(reinterpret_cast<const char16_t*>(value_), SysStringLen(value_));
    }

  private:
    BSTR value_ = nullptr;
};

// Reads a BSTR argument without taking it over; null is the empty text.
inline std::u16string BstrText(BSTR value) {
    if (!value) {
        return {};
    }
    return std::u16string(reinterpret_cast<const char16_t*>(value), SysStringLen(value));
}

}  // namespace kavrel
