#include "host/window/map_view.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "base/gdi.h"
#include "host/com/host_context.h"
#include "host/com/map_painter.h"
#include "host/com/window_guard.h"

namespace kavrel::host {
namespace {

constexpr UINT_PTR kSubclassId = 0x4B56;
// A press that moves less than this many pixels is a click.
constexpr int kDragThreshold = 3;
// One wheel notch zooms by this factor.
constexpr double kWheelFactor = 1.25;

}  // namespace

MapView::MapView(HostContext& host, std::function<void()> on_change)
    : host_(host), window_(host.map_window()), on_change_(std::move(on_change)) {
    if (!SetWindowSubclass(window_, Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        throw std::runtime_error("cannot take over the map window");
    }
}

MapView::~MapView() {
    if (IsWindow(window_)) {
        RemoveWindowSubclass(window_, Procedure, kSubclassId);
    }
}

void MapView::ShowAll() {
    FitToWindow();
    InvalidateRect(window_, nullptr, FALSE);
}

void MapView::FitToWindow() {
    RECT client;
    GetClientRect(window_, &client);
    if (const auto extent = MapExtent(host_.model())) {
        transform_ = ViewTransform::Fit(*extent, client.right, client.bottom, kFitMargin);
        fitted_ = client.right > 0 && client.bottom > 0;
    }
}

void MapView::Reset() {
    fitted_ = false;
    has_cursor_ = false;
    drag_ = Drag::None;
    ShowAll();
}

std::vector<std::u16string> MapView::ObjectsInside(const Rect& rect) const {
    std::vector<std::u16string> ids;
    for (const auto& object : host_.model().objects()) {
        const auto box = BoundsOf(object->CommittedState());
        if (box && box->xmin >= rect.xmin && box->xmax <= rect.xmax && box->ymin >= rect.ymin &&
            box->ymax <= rect.ymax) {
            ids.push_back(object->id);
        }
    }
    return ids;
}

std::u16string MapView::ObjectAt(int column, int row) const {
    const Rect around = transform_.MapRect(ScreenPoint{static_cast<double>(column - kHitTolerance),
                                                       static_cast<double>(row - kHitTolerance)},
                                           ScreenPoint{static_cast<double>(column + kHitTolerance),
                                                       static_cast<double>(row + kHitTolerance)});
    const auto& objects = host_.model().objects();
    // Later objects are painted over earlier ones: the topmost is hit first.
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        for (const Shape& shape : (*it)->CommittedState().shapes) {
            if (host_.model().ShapeMeetsRect(shape, around)) {
                return (*it)->id;
            }
        }
    }
    return {};
}

void MapView::Select(std::vector<std::u16string> ids, bool toggle) {
    auto& selection = host_.model().selection;
    if (!toggle) {
        selection = std::move(ids);
    } else {
        for (const auto& id : ids) {
            auto it = std::find(selection.begin(), selection.end(), id);
            if (it == selection.end()) {
                selection.push_back(id);
            } else {
                selection.erase(it);
            }
        }
    }
    InvalidateRect(window_, nullptr, FALSE);
    if (on_change_) {
        on_change_();
    }
}

void MapView::Paint() {
    const PaintingDC painting(window_);
    const HDC dc = painting.get();
    RECT client;
    GetClientRect(window_, &client);
    if (!fitted_) {
        FitToWindow();
    }
    // Painted off screen first, so that panning does not flicker.
    MemoryDC buffer(dc);
    BitmapHandle picture(CreateCompatibleBitmap(dc, std::max<LONG>(client.right, 1),
                                                std::max<LONG>(client.bottom, 1)));
    if (buffer.get() && picture) {
        SelectedObject selected(buffer.get(), picture.get());
        PaintMapView(host_.model(), host_.decimal_separator(), buffer.get(), client.right,
                     client.bottom, transform_);
        if (drag_ == Drag::Band) {
            RECT band{std::min(press_.x, last_.x), std::min(press_.y, last_.y),
                      std::max(press_.x, last_.x) + 1, std::max(press_.y, last_.y) + 1};
            DrawFocusRect(buffer.get(), &band);
        }
        BitBlt(dc, 0, 0, client.right, client.bottom, buffer.get(), 0, 0, SRCCOPY);
    }
}

void MapView::Press(int x, int y, bool band) {
    SetFocus(window_);
    SetCapture(window_);
    press_ = last_ = POINT{x, y};
    drag_ = band ? Drag::Band : Drag::Pending;
}

void MapView::Move(int x, int y) {
    cursor_ = transform_.ToMap(x, y);
    has_cursor_ = true;
    if (drag_ == Drag::Pending &&
        (std::abs(x - press_.x) > kDragThreshold || std::abs(y - press_.y) > kDragThreshold)) {
        drag_ = Drag::Pan;
    }
    if (drag_ == Drag::Pan) {
        transform_.Pan(x - last_.x, y - last_.y);
        InvalidateRect(window_, nullptr, FALSE);
    } else if (drag_ == Drag::Band) {
        InvalidateRect(window_, nullptr, FALSE);
    }
    last_ = POINT{x, y};
    if (on_change_) {
        on_change_();
    }
}

void MapView::Release(int x, int y, bool control) {
    const Drag drag = drag_;
    const POINT press = press_;
    EndDrag();
    if (drag == Drag::Pending) {
        const std::u16string hit = ObjectAt(x, y);
        if (hit.empty()) {
            if (!control) {
                Select({}, false);
            }
        } else {
            Select({hit}, control);
        }
    } else if (drag == Drag::Band) {
        const Rect rect = transform_.MapRect(
            ScreenPoint{static_cast<double>(press.x), static_cast<double>(press.y)},
            ScreenPoint{static_cast<double>(x), static_cast<double>(y)});
        Select(ObjectsInside(rect), control);
    }
}

void MapView::EndDrag() {
    const bool band = drag_ == Drag::Band;
    drag_ = Drag::None;
    if (GetCapture() == window_) {
        ReleaseCapture();
    }
    if (band) {
        InvalidateRect(window_, nullptr, FALSE);
    }
}

LRESULT MapView::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
    const int x = GET_X_LPARAM(lparam);
    const int y = GET_Y_LPARAM(lparam);
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            if (!fitted_) {
                ShowAll();
            }
            InvalidateRect(window_, nullptr, FALSE);
            break;
        case WM_LBUTTONDOWN:
            Press(x, y, (wparam & MK_SHIFT) != 0);
            return 0;
        case WM_RBUTTONDOWN:
            Press(x, y, true);
            return 0;
        case WM_MBUTTONDOWN:
            Press(x, y, false);
            drag_ = Drag::Pan;
            return 0;
        case WM_MOUSEMOVE:
            Move(x, y);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (drag_ != Drag::None) {
                Release(x, y, (wparam & MK_CONTROL) != 0);
            }
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lparam) != window_ && drag_ != Drag::None) {
                drag_ = Drag::None;
                InvalidateRect(window_, nullptr, FALSE);
            }
            break;
        case WM_MOUSEWHEEL: {
            // The wheel's position comes in screen coordinates.
            POINT at{x, y};
            ScreenToClient(window_, &at);
            const double notches = GET_WHEEL_DELTA_WPARAM(wparam) / double(WHEEL_DELTA);
            transform_.ZoomAbout(at.x, at.y, std::pow(kWheelFactor, notches));
            fitted_ = true;
            InvalidateRect(window_, nullptr, FALSE);
            return 0;
        }
        case WM_SETCURSOR:
            if (LOWORD(lparam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, drag_ == Drag::Pan
                                                   ? reinterpret_cast<LPCWSTR>(IDC_SIZEALL)
                                                   : reinterpret_cast<LPCWSTR>(IDC_CROSS)));
                return TRUE;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(window_, message, wparam, lparam);
}

LRESULT CALLBACK MapView::Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR, DWORD_PTR self) noexcept {
    return GuardedSubclassProc(window, message, wparam, lparam, [&] {
        return reinterpret_cast<MapView*>(self)->Handle(message, wparam, lparam);
    });
}

}  // namespace kavrel::host
