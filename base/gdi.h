// Owners of GDI objects and device contexts.
#pragma once

#include <windows.h>

#include <utility>

#include "base/unique_handle.h"

namespace kavrel {

// A GDI object created by us (bitmap, brush, pen, font): DeleteObject on release.
template <typename H>
using GdiObject = UniqueHandle<H, &DeleteObject>;

using BitmapHandle = GdiObject<HBITMAP>;
using BrushHandle = GdiObject<HBRUSH>;
using PenHandle = GdiObject<HPEN>;
using FontHandle = GdiObject<HFONT>;
using RegionHandle = GdiObject<HRGN>;

// A DC that goes back with ReleaseDC: of the client area (GetDC, WindowDC) or
// of the whole window, frame included (GetWindowDC, WholeWindowDC).
template <HDC(WINAPI* Acquire)(HWND)>
class ReleasedDC {
  public:
    explicit ReleasedDC(HWND window) noexcept : window_(window), dc_(Acquire(window)) {}
    ReleasedDC(const ReleasedDC&) = delete;
    ReleasedDC& operator=(const ReleasedDC&) = delete;
    ~ReleasedDC() {
        if (dc_) {
            ReleaseDC(window_, dc_);
        }
    }
    HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

using WindowDC = ReleasedDC<&GetDC>;
using WholeWindowDC = ReleasedDC<&GetWindowDC>;

// A DC from CreateCompatibleDC: DeleteDC on release.
class MemoryDC {
  public:
    explicit MemoryDC(HDC reference) noexcept : dc_(CreateCompatibleDC(reference)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    ~MemoryDC() {
        if (dc_) {
            DeleteDC(dc_);
        }
    }
    HDC get() const noexcept { return dc_; }

  private:
    HDC dc_;
};

// The DC of a WM_PAINT: BeginPaint, and EndPaint on release, also when the
// painting throws.
class PaintingDC {
  public:
    explicit PaintingDC(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintingDC(const PaintingDC&) = delete;
    PaintingDC& operator=(const PaintingDC&) = delete;
    ~PaintingDC() {
        if (dc_) {
            EndPaint(window_, &paint_);
        }
    }
    HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// SelectObject that puts the previous object back.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() {
        if (previous_ && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace kavrel
