// GDI owners that also keep the forms layer's live GDI count: fonts of forms
// and the pens and brushes that pictures are painted with.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "base/gdi.h"
#include "ui/resource_count.h"

namespace ui {

template <typename H>
class CountedGdi {
  public:
    CountedGdi() noexcept = default;
    // Takes ownership of a freshly created object; a null handle is kept as empty.
    explicit CountedGdi(H handle) noexcept : owner_(handle) {
        if (owner_) {
            detail::CountGdiObject(+1);
        }
    }
    CountedGdi(CountedGdi&& other) noexcept = default;
    CountedGdi& operator=(CountedGdi&& other) noexcept {
        if (this != &other) {
            reset();
            owner_ = std::move(other.owner_);
        }
        return *this;
    }
    ~CountedGdi() { reset(); }

    void reset() noexcept {
        if (owner_) {
            owner_.reset();
            detail::CountGdiObject(-1);
        }
    }
    H get() const noexcept { return owner_.get(); }
    explicit operator bool() const noexcept { return static_cast<bool>(owner_); }

  private:
    kavrel::GdiObject<H> owner_;
};

using Font = CountedGdi<HFONT>;
using Pen = CountedGdi<HPEN>;
using Brush = CountedGdi<HBRUSH>;

// Creates a font; throws when the system refuses.
Font MakeFont(const std::u16string& face, int height, int weight = FW_NORMAL);
Pen MakePen(int style, int width, COLORREF color);
Brush MakeBrush(COLORREF color);

}  // namespace ui
