// Shapes, contours and contour parts of a map object. Each object names its
// shape and part by serial number, so it stays right while others are
// inserted, and fails cleanly once its shape is gone.
#include <algorithm>
#include <cmath>

#include "base/bstr.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"

namespace kavrel::host {
namespace {

Shape& FindShape(ObjectState& state, std::uint64_t serial) {
    for (Shape& shape : state.shapes) {
        if (shape.serial == serial) {
            return shape;
        }
    }
    Fail(kHostNotFound, u"Фигура объекта удалена");
}

ContourPart& FindPart(Shape& shape, std::uint64_t serial) {
    for (ContourPart& part : shape.parts) {
        if (part.serial == serial) {
            return part;
        }
    }
    Fail(kHostNotFound, u"Часть контура удалена");
}

// An insertion position: -1 appends, 0 to count inserts before that item.
std::size_t InsertPosition(LONG index, std::size_t count, const std::u16string& what) {
    if (index == -1) {
        return count;
    }
    if (index < 0 || static_cast<std::size_t>(index) > count) {
        Fail(DISP_E_BADINDEX, u"Позиция вставки " + IndexText(index) + u" вне диапазона (" + what +
                                  u": " + IndexText(static_cast<long>(count)) + u")");
    }
    return static_cast<std::size_t>(index);
}

void CheckCoordinates(double x, double y, double c) {
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(c)) {
        Fail(E_INVALIDARG, u"Координаты вершины должны быть конечными числами");
    }
}

class ContourPartObject : public AutomationObject<IHostContourPart> {
  public:
    ContourPartObject(HostContext& host, MapObject& object, std::uint64_t shape, std::uint64_t part)
        : AutomationObject(host, "IHostContourPart"), object_(object), shape_(shape), part_(part) {}

    HRESULT __stdcall GetCount(LONG* result) override {
        return host().Automation("IHostContourPart.GetCount", __uuidof(IHostContourPart), [&] {
            OutArg(result);
            *result = static_cast<LONG>(Part(object_.current).vertices.size());
            return S_OK;
        });
    }

    HRESULT __stdcall GetVertex(LONG index, double* x, double* y, double* c) override {
        return host().Automation("IHostContourPart.GetVertex", __uuidof(IHostContourPart), [&] {
            OutArg(x);
            OutArg(y);
            OutArg(c);
            const ContourPart& part = Part(object_.current);
            const Vertex& v = part.vertices[CheckedIndex(index, part)];
            *x = v.x;
            *y = v.y;
            *c = v.c;
            return S_OK;
        });
    }

    HRESULT __stdcall SetVertex(LONG index, double x, double y, double c) override {
        return host().Automation("IHostContourPart.SetVertex", __uuidof(IHostContourPart), [&] {
            CheckCoordinates(x, y, c);
            const std::size_t at = CheckedIndex(index, Part(object_.current));
            Part(host().model().Edit(object_)).vertices[at] = Vertex{x, y, c};
            host().model().Reindex(object_);
            return S_OK;
        });
    }

    HRESULT __stdcall InsertVertex(LONG index, double x, double y, double c) override {
        return host().Automation("IHostContourPart.InsertVertex", __uuidof(IHostContourPart), [&] {
            CheckCoordinates(x, y, c);
            const std::size_t at =
                InsertPosition(index, Part(object_.current).vertices.size(), u"вершин");
            auto& vertices = Part(host().model().Edit(object_)).vertices;
            vertices.insert(vertices.begin() + static_cast<std::ptrdiff_t>(at), Vertex{x, y, c});
            host().model().Reindex(object_);
            return S_OK;
        });
    }

  private:
    ContourPart& Part(ObjectState& state) const {
        return FindPart(FindShape(state, shape_), part_);
    }
    static std::size_t CheckedIndex(LONG index, const ContourPart& part) {
        if (index < 0 || static_cast<std::size_t>(index) >= part.vertices.size()) {
            Fail(DISP_E_BADINDEX, u"Вершина " + IndexText(index) + u" отсутствует (вершин: " +
                                      IndexText(static_cast<long>(part.vertices.size())) + u")");
        }
        return static_cast<std::size_t>(index);
    }

    MapObject& object_;
    std::uint64_t shape_;
    std::uint64_t part_;
};

class ContourObject : public AutomationObject<IHostContour> {
  public:
    ContourObject(HostContext& host, MapObject& object, std::uint64_t shape)
        : AutomationObject(host, "IHostContour"), object_(object), shape_(shape) {}

    HRESULT __stdcall GetCount(LONG* result) override {
        return host().Automation("IHostContour.GetCount", __uuidof(IHostContour), [&] {
            OutArg(result);
            *result = static_cast<LONG>(FindShape(object_.current, shape_).parts.size());
            return S_OK;
        });
    }

    HRESULT __stdcall GetPart(LONG index, IHostContourPart** result) override {
        return host().Automation("IHostContour.GetPart", __uuidof(IHostContour), [&] {
            OutArg(result);
            const Shape& shape = FindShape(object_.current, shape_);
            if (index < 0 || static_cast<std::size_t>(index) >= shape.parts.size()) {
                Fail(DISP_E_BADINDEX, u"Часть контура " + IndexText(index) +
                                          u" отсутствует (частей: " +
                                          IndexText(static_cast<long>(shape.parts.size())) + u")");
            }
            *result =
                HandOut(new ContourPartObject(host(), object_, shape_, shape.parts[index].serial));
            return S_OK;
        });
    }

    HRESULT __stdcall InsertPart(LONG index, IHostContourPart** result) override {
        return host().Automation("IHostContour.InsertPart", __uuidof(IHostContour), [&] {
            OutArg(result);
            const std::size_t at =
                InsertPosition(index, FindShape(object_.current, shape_).parts.size(), u"частей");
            ContourPart part;
            part.serial = host().model().NextSerial();
            const std::uint64_t serial = part.serial;
            auto& parts = FindShape(host().model().Edit(object_), shape_).parts;
            parts.insert(parts.begin() + static_cast<std::ptrdiff_t>(at), std::move(part));
            *result = HandOut(new ContourPartObject(host(), object_, shape_, serial));
            return S_OK;
        });
    }

  private:
    MapObject& object_;
    std::uint64_t shape_;
};

class ShapeObject : public AutomationObject<IHostShape> {
  public:
    ShapeObject(HostContext& host, MapObject& object, std::uint64_t shape)
        : AutomationObject(host, "IHostShape"), object_(object), shape_(shape) {}

    HRESULT __stdcall GetContour(IHostContour** result) override {
        return host().Automation("IHostShape.GetContour", __uuidof(IHostShape), [&] {
            OutArg(result);
            FindShape(object_.current, shape_);
            *result = HandOut(new ContourObject(host(), object_, shape_));
            return S_OK;
        });
    }

    HRESULT __stdcall GetStyleId(BSTR* result) override {
        return host().Automation("IHostShape.GetStyleId", __uuidof(IHostShape), [&] {
            OutArg(result);
            *result = AllocBstr(FindShape(object_.current, shape_).style);
            return S_OK;
        });
    }

    HRESULT __stdcall GetFlag(VARIANT_BOOL* result) override {
        return host().Automation("IHostShape.GetFlag", __uuidof(IHostShape), [&] {
            OutArg(result);
            *result = FindShape(object_.current, shape_).flag ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        });
    }

  private:
    MapObject& object_;
    std::uint64_t shape_;
};

class ShapesObject : public AutomationObject<IHostShapes> {
  public:
    ShapesObject(HostContext& host, MapObject& object)
        : AutomationObject(host, "IHostShapes"), object_(object) {}

    HRESULT __stdcall GetCount(LONG* result) override {
        return host().Automation("IHostShapes.GetCount", __uuidof(IHostShapes), [&] {
            *OutArg(result) = static_cast<LONG>(object_.current.shapes.size());
            return S_OK;
        });
    }

    HRESULT __stdcall GetItem(LONG index, IHostShape** result) override {
        return host().Automation("IHostShapes.GetItem", __uuidof(IHostShapes), [&] {
            OutArg(result);
            const auto& shapes = object_.current.shapes;
            if (index < 0 || static_cast<std::size_t>(index) >= shapes.size()) {
                Fail(DISP_E_BADINDEX, u"Фигура " + IndexText(index) + u" отсутствует (фигур: " +
                                          IndexText(static_cast<long>(shapes.size())) + u")");
            }
            *result = NewShape(host(), object_, shapes[index].serial);
            return S_OK;
        });
    }

    HRESULT __stdcall Insert(LONG index, BSTR style_id, IHostShape** result) override {
        return host().Automation("IHostShapes.Insert", __uuidof(IHostShapes), [&] {
            OutArg(result);
            const std::u16string style = BstrText(style_id);
            if (!host().model().FindStyle(style)) {
                Fail(kHostNotFound, u"Стиль «" + style + u"» не найден");
            }
            const std::size_t at = InsertPosition(index, object_.current.shapes.size(), u"фигур");
            Shape shape;
            shape.serial = host().model().NextSerial();
            shape.style = style;
            const std::uint64_t serial = shape.serial;
            auto& shapes = host().model().Edit(object_).shapes;
            shapes.insert(shapes.begin() + static_cast<std::ptrdiff_t>(at), std::move(shape));
            *result = NewShape(host(), object_, serial);
            return S_OK;
        });
    }

    HRESULT __stdcall Clear() override {
        return host().Automation("IHostShapes.Clear", __uuidof(IHostShapes), [&] {
            host().model().Edit(object_).shapes.clear();
            host().model().Reindex(object_);
            return S_OK;
        });
    }

  private:
    MapObject& object_;
};

}  // namespace

IHostShapes* NewShapes(HostContext& host, MapObject& object) {
    return HandOut(new ShapesObject(host, object));
}

IHostShape* NewShape(HostContext& host, MapObject& object, std::uint64_t shape_serial) {
    return HandOut(new ShapeObject(host, object, shape_serial));
}

}  // namespace kavrel::host
