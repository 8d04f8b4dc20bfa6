#include "editor/button_pictures.h"

#include <algorithm>
#include <cmath>

#include "base/gdi.h"

namespace kavrel {
namespace {

constexpr COLORREF kInk = RGB(0x20, 0x20, 0x20);
constexpr COLORREF kMarkColour = RGB(0xB0, 0x20, 0x20);
constexpr double kPi = 3.14159265358979323846;

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// A filled triangle arrowhead at tip, pointing along (ux, uy) in screen units.
void PaintArrowHead(HDC dc, POINT tip, double ux, double uy, double size) {
    const double bx = tip.x - ux * size;
    const double by = tip.y - uy * size;
    const double px = -uy * size * 0.55;
    const double py = ux * size * 0.55;
    POINT head[3] = {
        tip,
        {static_cast<LONG>(std::lround(bx + px)), static_cast<LONG>(std::lround(by + py))},
        {static_cast<LONG>(std::lround(bx - px)), static_cast<LONG>(std::lround(by - py))}};
    Polygon(dc, head, 3);
}

}  // namespace

void PaintPresetPicture(HDC dc, const RECT& box, double degrees) {
    const int side = std::min(Width(box), Height(box));
    const double radians = degrees * kPi / 180.0;
    const double ux = std::cos(radians);   // screen x grows east
    const double uy = -std::sin(radians);  // screen y grows south

    LOGFONTW lf = {};
    lf.lfHeight = -std::max(7, side * 12 / 32);
    lf.lfWeight = FW_BOLD;
    lf.lfEscapement = static_cast<LONG>(std::lround(degrees * 10.0));
    lf.lfOrientation = lf.lfEscapement;
    lf.lfQuality = ANTIALIASED_QUALITY;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    lstrcpyW(lf.lfFaceName, L"Tahoma");
    FontHandle font(CreateFontIndirectW(&lf));
    SelectedObject selected_font(dc, font.get());
    SIZE text_size{};
    GetTextExtentPoint32W(dc, L"125", 3, &text_size);

    // The point, a gap, then the text along the angle: the whole mark is
    // centred in the button.
    const double gap = side * 0.14;
    const double length = gap + text_size.cx;
    const double cx = box.left + Width(box) / 2.0;
    const double cy = box.top + Height(box) / 2.0;
    const double px = cx - ux * length / 2.0;
    const double py = cy - uy * length / 2.0;

    BrushHandle mark_brush(CreateSolidBrush(kMarkColour));
    PenHandle mark_pen(CreatePen(PS_SOLID, 1, kMarkColour));
    {
        SelectedObject brush(dc, mark_brush.get());
        SelectedObject pen(dc, mark_pen.get());
        const int r = std::max(2, side / 14);
        const int x = static_cast<int>(std::lround(px));
        const int y = static_cast<int>(std::lround(py));
        Ellipse(dc, x - r, y - r, x + r + 1, y + r + 1);
    }

    const int old_mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF old_colour = SetTextColor(dc, kInk);
    const UINT old_align = SetTextAlign(dc, TA_LEFT | TA_BASELINE);
    // The baseline sits half the digits' height below the point's line, so
    // the digits are centred on it; "below" turns with the text.
    const double lift = -lf.lfHeight * 0.36;
    const int tx = static_cast<int>(std::lround(px + ux * gap - uy * lift));
    const int ty = static_cast<int>(std::lround(py + uy * gap + ux * lift));
    TextOutW(dc, tx, ty, L"125", 3);
    SetTextAlign(dc, old_align);
    SetTextColor(dc, old_colour);
    SetBkMode(dc, old_mode);
}

void PaintMoveArrow(HDC dc, const RECT& box, int dx, int dy) {
    // Not std::hypot: the C runtime's is a different implementation in each
    // build; the square root is correctly rounded in both.
    const double length = std::sqrt(static_cast<double>(dx * dx + dy * dy));
    if (length == 0.0) {
        return;
    }
    const double ux = dx / length;
    const double uy = -dy / length;
    const int side = std::min(Width(box), Height(box));
    const double half = side * 0.36;
    const double cx = box.left + Width(box) / 2.0;
    const double cy = box.top + Height(box) / 2.0;
    const POINT tail = {static_cast<LONG>(std::lround(cx - ux * half)),
                        static_cast<LONG>(std::lround(cy - uy * half))};
    const POINT tip = {static_cast<LONG>(std::lround(cx + ux * half)),
                       static_cast<LONG>(std::lround(cy + uy * half))};

    PenHandle pen(CreatePen(PS_SOLID, std::max(1, side / 9), kInk));
    BrushHandle brush(CreateSolidBrush(kInk));
    SelectedObject selected_pen(dc, pen.get());
    SelectedObject selected_brush(dc, brush.get());
    const double head = side * 0.36;
    MoveToEx(dc, tail.x, tail.y, nullptr);
    LineTo(dc, static_cast<int>(std::lround(tip.x - ux * head * 0.6)),
           static_cast<int>(std::lround(tip.y - uy * head * 0.6)));
    PenHandle thin(CreatePen(PS_SOLID, 1, kInk));
    SelectedObject selected_thin(dc, thin.get());
    PaintArrowHead(dc, tip, ux, uy, head);
}

void PaintTurnArrow(HDC dc, const RECT& box, Turn turn, bool head_at_top) {
    const int side = std::min(Width(box), Height(box));
    const double cx = box.left + Width(box) / 2.0;
    const double cy = box.top + Height(box) / 2.0;
    const double r = side * 0.32;
    // A half circle whose free end turns back at the top or at the bottom:
    // on the right going up or on the left going down is anticlockwise.
    const bool arc_on_right = (turn == Turn::Anticlockwise) == head_at_top;
    const int left = static_cast<int>(std::lround(cx - r));
    const int top = static_cast<int>(std::lround(cy - r));
    const int right = static_cast<int>(std::lround(cx + r));
    const int bottom = static_cast<int>(std::lround(cy + r));
    const int mid_x = static_cast<int>(std::lround(cx));

    PenHandle pen(CreatePen(PS_SOLID, std::max(2, side / 10), kInk));
    BrushHandle brush(CreateSolidBrush(kInk));
    SelectedObject selected_pen(dc, pen.get());
    SelectedObject selected_brush(dc, brush.get());
    const double head = side * 0.3;
    // GDI draws an arc counter-clockwise from its start to its end: the right
    // half from the bottom to the top, the left half from the top to the
    // bottom. The arrowhead sits on the end the turn goes to.
    if (arc_on_right) {
        Arc(dc, left, top, right, bottom, mid_x, bottom, mid_x, top);
    } else {
        Arc(dc, left, top, right, bottom, mid_x, top, mid_x, bottom);
    }
    PenHandle thin(CreatePen(PS_SOLID, 1, kInk));
    SelectedObject selected_thin(dc, thin.get());
    const double towards = arc_on_right ? -1.0 : 1.0;
    const LONG tip_x = static_cast<LONG>(std::lround(cx + towards * head * 0.5));
    PaintArrowHead(dc, {tip_x, head_at_top ? top : bottom}, towards, 0.0, head);
}

void PaintPlaceLabelsPicture(HDC dc, const RECT& box) {
    const int width = Width(box);
    const int height = Height(box);
    const int rows = 3;
    const int step = height / (rows + 1);
    const int r = std::max(2, width / 12);
    const int bar_length = std::max(6, width * 4 / 10);
    const int bar_height = std::max(3, width / 7);
    const int gap = std::max(2, width / 12);
    const int cx = box.left + width / 2;

    BrushHandle mark_brush(CreateSolidBrush(kMarkColour));
    PenHandle mark_pen(CreatePen(PS_SOLID, 1, kMarkColour));
    BrushHandle ink_brush(CreateSolidBrush(kInk));
    for (int row = 1; row <= rows; ++row) {
        const int cy = box.top + row * step;
        {
            SelectedObject brush(dc, mark_brush.get());
            SelectedObject pen(dc, mark_pen.get());
            Ellipse(dc, cx - r, cy - r, cx + r + 1, cy + r + 1);
        }
        // Right-above, left-below, right-below: a label set beside its point
        // never on it, and never on the next one.
        const bool right = row != 2;
        const bool above = row == 1;
        const int left = right ? cx + gap : cx - gap - bar_length;
        const int top = above ? cy - gap - bar_height : cy + gap;
        RECT bar{left, top, left + bar_length, top + bar_height};
        FillRect(dc, &bar, ink_brush.get());
    }
}

}  // namespace kavrel
