#include "host/com/map_painter.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "addon/gdi.h"
#include "host/model/number_text.h"
#include "host/model/template_text.h"

namespace kavrel::host {
namespace {

// Map to pixels: x grows northward (up the screen), y eastward (to the right).
struct View {
    Rect extent;
    double scale = 1;
    int height = 0;
    int margin = 20;
    POINT ToScreen(const Vertex& v) const {
        return POINT{static_cast<LONG>(std::lround(margin + (v.y - extent.ymin) * scale)),
                     static_cast<LONG>(std::lround(height - margin - (v.x - extent.xmin) * scale))};
    }
};

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
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

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
    if (!extent) {
        return;
    }
    View view;
    view.extent = *extent;
    view.height = height;
    const double span = std::max({extent->xmax - extent->xmin, extent->ymax - extent->ymin, 1e-9});
    view.scale = std::min(width, height) > 2 * view.margin
                     ? (std::min(width, height) - 2.0 * view.margin) / span
                     : 1.0;

    const std::set<std::u16string> selected(model.selection.begin(), model.selection.end());
    PenHandle black(CreatePen(PS_SOLID, 1, RGB(0, 0, 0)));
    PenHandle red(CreatePen(PS_SOLID, 2, RGB(220, 0, 0)));
    BrushHandle black_fill(CreateSolidBrush(RGB(0, 0, 0)));
    BrushHandle red_fill(CreateSolidBrush(RGB(220, 0, 0)));
    SetBkMode(dc, TRANSPARENT);

    for (const auto& object : model.objects()) {
        const bool highlighted = selected.count(object->id) != 0;
        SelectedObject pen(dc, highlighted ? red.get() : black.get());
        SelectedObject hollow(dc, GetStockObject(NULL_BRUSH));
        SetTextColor(dc, highlighted ? RGB(220, 0, 0) : RGB(0, 0, 0));
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
                    SelectedObject fill(dc, highlighted ? red_fill.get() : black_fill.get());
                    for (const POINT& p : points) {
                        Ellipse(dc, p.x - 3, p.y - 3, p.x + 4, p.y + 4);
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
                    font.lfHeight = -14;
                    font.lfEscapement = font.lfOrientation =
                        static_cast<LONG>(std::lround(angle * 10));
                    font.lfCharSet = RUSSIAN_CHARSET;
                    lstrcpyW(font.lfFaceName, L"Arial");
                    FontHandle handle(CreateFontIndirectW(&font));
                    SelectedObject selected_font(dc, handle.get());
                    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
                    TextOutW(dc, points[0].x, points[0].y, reinterpret_cast<LPCWSTR>(text.c_str()),
                             static_cast<int>(text.size()));
                } else if (kind == StyleKind::Polygon && points.size() >= 3) {
                    Polygon(dc, points.data(), static_cast<int>(points.size()));
                } else if (points.size() >= 2) {
                    Polyline(dc, points.data(), static_cast<int>(points.size()));
                }
            }
        }
    }
}

}  // namespace kavrel::host
