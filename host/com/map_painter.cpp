#include "host/com/map_painter.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "base/gdi.h"
#include "host/model/number_format.h"
#include "host/model/template_text.h"

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

// Text height of a label in map units.
constexpr double kLabelHeight = 0.6;

// Colours of a plan: relief (the first layer) in brown, the situation in
// black, buildings filled in light ochre; selection in red.
constexpr COLORREF kRelief = RGB(150, 90, 40);
constexpr COLORREF kSituation = RGB(30, 30, 30);
constexpr COLORREF kFill = RGB(247, 228, 196);
constexpr COLORREF kLabel = RGB(0, 0, 0);
constexpr COLORREF kSelected = RGB(220, 0, 0);

void PaintObjects(const MapModel& model, char16_t decimal_separator, HDC dc, const View& view,
                  int text_height);

std::u16string LabelText(const MapModel& model, const MapObject& object, const Style& style,
                         char16_t separator) {
    const ObjectState& state = object.CommittedState();
    const Layer* layer = model.FindLayer(object.layer);
    auto field_text = [&](std::u16string_view reference) -> std::optional<std::u16string> {
        const std::size_t dot = reference.find(u'.');
        if (!layer || dot == std::u16string_view::npos ||
            !model.HasField(*layer, reference.substr(0, dot), reference.substr(dot + 1))) {
            return std::nullopt;
        }
        auto it = state.values.find(std::u16string(reference));
        if (it == state.values.end()) {
            return std::u16string();
        }
        if (const double* number = std::get_if<double>(&it->second)) {
            return FormatNumber(*number, separator);
        }
        return std::get<std::u16string>(it->second);
    };
    try {
        return ExpandTemplateText(style.text, field_text);
    } catch (const UnknownFieldReference&) {
        return style.text;  // drawn as written, as a host shows a broken template
    }
}

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

std::optional<Rect> MapExtent(const MapModel& model) {
    std::optional<Rect> extent;
    for (const auto& object : model.objects()) {
        if (auto box = BoundsOf(object->CommittedState())) {
            if (extent) {
                extent->Extend(*box);
            } else {
                extent = box;
            }
        }
    }
    return extent;
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
                    LOGFONTW font{};
                    font.lfHeight = -text_height;
                    font.lfEscapement = font.lfOrientation =
                        static_cast<LONG>(std::lround(angle * 10));
                    font.lfCharSet = RUSSIAN_CHARSET;
                    font.lfQuality = ANTIALIASED_QUALITY;
                    lstrcpyW(font.lfFaceName, L"Arial");
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
