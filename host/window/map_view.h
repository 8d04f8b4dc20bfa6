// The interactive map window: the host's map window painted through a view
// transform, with the mouse driving it.
//   left drag or middle drag   pan
//   wheel                      zoom about the cursor
//   left click                 select the object under the cursor (Ctrl adds
//                              or removes it; a click on nothing clears)
//   Shift + left drag, right drag   rubber band: select the objects inside
// The selection is the model's own, the one the add-on reads.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "host/window/view_transform.h"

namespace kavrel::host {

class HostContext;

class MapView {
  public:
    // Takes over the host's map window; on_change runs after every change of
    // the selection or of the cursor's map position.
    MapView(HostContext& host, std::function<void()> on_change);
    ~MapView();
    MapView(const MapView&) = delete;
    MapView& operator=(const MapView&) = delete;

    // The whole map in the window.
    void ShowAll();
    // The model was replaced: fit the new map, forget the cursor.
    void Reset();

    const ViewTransform& transform() const { return transform_; }
    // The map point under the cursor, when it is over the window.
    bool has_cursor() const { return has_cursor_; }
    MapPoint cursor() const { return cursor_; }

    // Pixels around a click within which an object is hit.
    static constexpr int kHitTolerance = 4;
    // The objects whose whole extent lies inside the rectangle, in model order.
    std::vector<std::u16string> ObjectsInside(const Rect& rect) const;
    // The topmost object hit at the pixel, or empty.
    std::u16string ObjectAt(int column, int row) const;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR id, DWORD_PTR self) noexcept;
    LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
    void FitToWindow();
    void Paint();
    void Press(int x, int y, bool band);
    void Move(int x, int y);
    void Release(int x, int y, bool control);
    void EndDrag();
    void Select(std::vector<std::u16string> ids, bool toggle);

    enum class Drag { None, Pending, Pan, Band };

    HostContext& host_;
    HWND window_;
    std::function<void()> on_change_;
    ViewTransform transform_;
    bool fitted_ = false;
    Drag drag_ = Drag::None;
    POINT press_{};
    POINT last_{};
    bool has_cursor_ = false;
    MapPoint cursor_{};
};

}  // namespace kavrel::host
