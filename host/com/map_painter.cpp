#include "host/com/map_painter.h"

#include <algorithm>
#include <cmath>
#include <set>
#include <stdexcept>

#include "base/gdi.h"
#include "host/model/label_text.h"

namespace kavrel::host {
namespace {

// Map to pixels through the view's transform, rounded to whole pixels.
struct View {
    ViewTransform transform;
    POINT ToScreen(const Vertex& v) const {
        const ScreenPoint p = transform.ToScreen(v.x, v.y);
        return POINT{static_cast<LONG>(std::lround(p.x)), static_cast<LONG>(std::lround(p.y))};
    }
};

// Colours of a plan: relief (the first layer) in brown, the situation in
// black, buildings filled in light ochre; selection in red.
constexpr COLORREF kRelief = RGB(150, 90, 40);
constexpr COLORREF kSituation = RGB(30, 30, 30);
constexpr COLORREF kFill = RGB(247, 228, 196);
constexpr COLORREF kLabel = RGB(0, 0, 0);
constexpr COLORREF kSelected = RGB(220, 0, 0);

void PaintObjects(const MapModel& model, char16_t decimal_separator, HDC dc, const View& view,
                  int text_height);

// The labels' font: Arial, `height` pixels of character height, turned by
// `degrees` from east towards north.
LOGFONTW LabelFont(int height, double degrees) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfEscapement = font.lfOrientation = static_cast<LONG>(std::lround(degrees * 10));
    font.lfCharSet = RUSSIAN_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    lstrcpyW(font.lfFaceName, L"Arial");
    return font;
}

// Measures label texts with the labels' font in a memory DC of the screen.
// Texts are measured at a character height of many pixels, so that the
// rounding of the metrics to whole pixels stays far below the map's precision.
class LabelTextMeter {
  public:
    LabelTextMeter() : font_(CreateFontIndirectW(&kFont)), selected_(dc_.get(), font_.get()) {
        if (!dc_.get() || !font_ || !GetTextMetricsW(dc_.get(), &metrics_)) {
            throw std::runtime_error("the label font cannot be measured");
        }
    }
    TextExtent Measure(std::u16string_view text) const {
        SIZE size{};
        if (!GetTextExtentPoint32W(dc_.get(), reinterpret_cast<LPCWSTR>(text.data()),
                                   static_cast<int>(text.size()), &size)) {
            throw std::runtime_error("the label font cannot be measured");
        }
        return {size.cx * kUnit, metrics_.tmAscent * kUnit, metrics_.tmDescent * kUnit};
    }

  private:
    static constexpr int kHeight = 1000;
    static constexpr double kUnit = kLabelHeight / kHeight;  // map units per pixel
    static inline const LOGFONTW kFont = LabelFont(kHeight, 0);

    MemoryDC dc_{nullptr};
    FontHandle font_;
    SelectedObject selected_;
    TEXTMETRICW metrics_{};
};

}  // namespace

void PaintMap(const MapModel& model, char16_t decimal_separator, HDC dc, int width, int height) {
    if (const auto extent = MapExtent(model)) {
        PaintMapView(model, decimal_separator, dc, width, height,
                     ViewTransform::Fit(*extent, width, height, kFitMargin));
    } else {
        RECT all{0, 0, width, height};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
}

void PaintMapView(const MapModel& model, char16_t decimal_separator, HDC dc, int width, int height,
                  const ViewTransform& transform) {
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    View view{transform};
    // Labels grow with the map's scale within readable bounds.
    const int text_height =
        static_cast<int>(std::lround(std::clamp(kLabelHeight * transform.scale(), 10.0, 20.0)));
    PaintObjects(model, decimal_separator, dc, view, text_height);
}

TextExtent MeasureLabelText(std::u16string_view text) {
    return LabelTextMeter().Measure(text);
}

Legibility MeasureMapLegibility(const MapModel& model, char16_t decimal_separator) {
    const LabelTextMeter meter;
    return MeasureLegibility(
        model, decimal_separator, [&](std::u16string_view text) { return meter.Measure(text); },
        kFarLabelDistance);
}

std::optional<Rect> MapExtent(const MapModel& model) {
    // Framed on what labels belong to, so that labels moved or turned do not
    // move the picture; on the labels when there is nothing else.
    std::optional<Rect> extent;
    std::optional<Rect> labels;
    for (const auto& object : model.objects()) {
        for (const Shape& shape : object->CommittedState().shapes) {
            const Style* style = model.FindStyle(shape.style);
            std::optional<Rect>& into = style && style->kind == StyleKind::Text ? labels : extent;
            for (const ContourPart& part : shape.parts) {
                if (const auto box = BoundsOf(part.vertices)) {
                    if (into) {
                        into->Extend(*box);
                    } else {
                        into = box;
                    }
                }
            }
        }
    }
    return extent ? extent : labels;
}

namespace {

void PaintObjects(const MapModel& model, char16_t decimal_separator, HDC dc, const View& view,
                  int text_height) {
    const std::set<std::u16string> selected(model.selection.begin(), model.selection.end());
    const std::u16string first_layer =
        model.layers().empty() ? std::u16string() : model.layers().front().id;
    PenHandle relief(CreatePen(PS_SOLID, 1, kRelief));
    PenHandle situation(CreatePen(PS_SOLID, 2, kSituation));
    PenHandle red(CreatePen(PS_SOLID, 2, kSelected));
    BrushHandle dark_fill(CreateSolidBrush(kLabel));
    BrushHandle red_fill(CreateSolidBrush(kSelected));
    BrushHandle area_fill(CreateSolidBrush(kFill));
    SetBkMode(dc, TRANSPARENT);

    for (const auto& object : model.objects()) {
        const bool highlighted = selected.count(object->id) != 0;
        const bool in_relief = object->layer == first_layer;
        SelectedObject pen(dc, highlighted ? red.get()
                               : in_relief ? relief.get()
                                           : situation.get());
        SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
        SetTextColor(dc, highlighted ? kSelected : kLabel);
        for (const Shape& shape : object->CommittedState().shapes) {
            const Style* style = model.FindStyle(shape.style);
            const StyleKind kind = style ? style->kind : StyleKind::Line;
            for (const ContourPart& part : shape.parts) {
                if (part.vertices.empty()) {
                    continue;
                }
                std::vector<POINT> points;
                for (const Vertex& v : part.vertices) {
                    points.push_back(view.ToScreen(v));
                }
                if (kind == StyleKind::Point) {
                    SelectedObject fill(dc, highlighted ? red_fill.get() : dark_fill.get());
                    SelectedObject outline(dc, GetStockObject(highlighted ? NULL_PEN : BLACK_PEN));
                    for (const POINT& p : points) {
                        Ellipse(dc, p.x - 2, p.y - 2, p.x + 3, p.y + 3);
                    }
                } else if (kind == StyleKind::Text && style) {
                    const std::u16string text =
                        LabelText(model, *object, *style, decimal_separator);
                    double angle = 0;
                    if (points.size() >= 2) {
                        angle =
                            std::atan2(-(points[1].y - points[0].y), points[1].x - points[0].x) *
                            180.0 / 3.14159265358979323846;
                    }
                    const LOGFONTW font = LabelFont(text_height, angle);
                    FontHandle handle(CreateFontIndirectW(&font));
                    SelectedObject selected_font(dc, handle.get());
                    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
                    TextOutW(dc, points[0].x, points[0].y, reinterpret_cast<LPCWSTR>(text.c_str()),
                             static_cast<int>(text.size()));
                } else if (kind == StyleKind::Polygon && points.size() >= 3) {
                    SelectedObject fill(dc, area_fill.get());
                    Polygon(dc, points.data(), static_cast<int>(points.size()));
                } else if (points.size() >= 2) {
                    Polyline(dc, points.data(), static_cast<int>(points.size()));
                }
            }
        }
    }
}

}  // namespace

}  // namespace kavrel::host
