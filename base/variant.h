// Owner of one VARIANT.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string_view>

namespace kavrel {

class Variant {
  public:
    Variant() noexcept { VariantInit(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&value_); }

    static Variant Int32(LONG v) noexcept {
        Variant out;
        out.value_.vt = VT_I4;
        out.value_.lVal = v;
        return out;
    }
    static Variant Double(double v) noexcept {
        Variant out;
        out.value_.vt = VT_R8;
        out.value_.dblVal = v;
        return out;
    }
    static Variant Text(std::u16string_view text);

    // The value to pass by value to a host call; the owner keeps it.
    const VARIANT& get() const noexcept { return value_; }
    VARIANT* put() noexcept {
        VariantClear(&value_);
        return &value_;
    }

    Variant(Variant&& other) noexcept {
        value_ = other.value_;
        VariantInit(&other.value_);
    }

  private:
    VARIANT value_;
};

inline Variant Variant::Text(std::u16string_view text) {
    Variant out;
    BSTR b = SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                               static_cast<UINT>(text.size()));
    if (!b) {
        throw std::bad_alloc();
    }
    out.value_.vt = VT_BSTR;
    out.value_.bstrVal = b;
    return out;
}

}  // namespace kavrel
