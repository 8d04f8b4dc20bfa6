#include "bench/host_call_costs.h"

#include <stdexcept>

#include "base/bstr.h"
#include "base/com_ptr.h"
#include "base/variant.h"
#include "bench/addon_session.h"
#include "bench/bench_projects.h"
#include "gis/host_api.h"
#include "host/com/host_context.h"

namespace kavrel::bench {
namespace {

void Check(HRESULT status, const char* what) {
    if (FAILED(status)) {
        throw std::runtime_error(std::string("host call failed while measuring: ") + what);
    }
}

// Times body(i) for i from 0 to n - 1; each body makes calls_per_item host calls.
template <typename Body>
HostCallSample Time(const char* operation, std::size_t n, int calls_per_item, Body&& body) {
    const double start = Now();
    for (std::size_t i = 0; i < n; ++i) {
        body(static_cast<LONG>(i));
    }
    const double seconds = Now() - start;
    return HostCallSample{operation, n, seconds * 1e9 / static_cast<double>(n * calls_per_item)};
}

// The width of the square grid the project's marks stand on.
std::size_t GridSide(std::size_t n) {
    std::size_t side = 1;
    while (side * side < n) {
        ++side;
    }
    return side;
}

ComPtr<IHostApplication> AppOf(host::HostContext& host) {
    ComPtr<IHostApplication> app;
    Check(host.HostObject()->QueryInterface(__uuidof(IHostApplication), app.put_void()),
          "QueryInterface(IHostApplication)");
    return app;
}

ComPtr<IHostMapObjects> MapObjectsOf(IHostApplication* app) {
    ComPtr<IHostDatabase> database;
    Check(app->GetDatabase(database.put()), "GetDatabase");
    ComPtr<IHostMapObjects> objects;
    Check(database->GetMapObjects(objects.put()), "GetMapObjects");
    return objects;
}

// The calls that find the selected objects: the selection and the lookup by
// identifier.
void MeasureLookups(IHostApplication* app, IHostMapObjects* objects, const std::vector<Bstr>& ids,
                    std::vector<HostCallSample>& out) {
    const std::size_t n = ids.size();
    ComPtr<IHostSelection> selection;
    Check(app->GetSelection(selection.put()), "GetSelection");
    out.push_back(Time("IHostSelection.GetCount", n, 1, [&](LONG) {
        LONG count = 0;
        Check(selection->GetCount(&count), "GetCount");
    }));
    out.push_back(Time("IHostApplication.GetSelection (and its release)", n, 1, [&](LONG) {
        ComPtr<IHostSelection> fresh;
        Check(app->GetSelection(fresh.put()), "GetSelection");
    }));
    out.push_back(Time("IHostSelection.GetItemId (item i)", n, 1, [&](LONG i) {
        Bstr id;
        Check(selection->GetItemId(i, id.put()), "GetItemId");
    }));
    out.push_back(Time("IHostMapObjects.GetObject (object i)", n, 1, [&](LONG i) {
        ComPtr<IHostMapObject> object;
        Check(objects->GetObject(ids[i].get(), object.put()), "GetObject");
    }));
}

// The chain that finds a shape's style: GetShapes, GetItem, GetStyleId.
void MeasureShapeChain(const std::vector<ComPtr<IHostMapObject>>& held,
                       std::vector<HostCallSample>& out) {
    out.push_back(Time("GetShapes, GetItem, GetStyleId (per call)", held.size(), 3, [&](LONG i) {
        ComPtr<IHostShapes> shapes;
        Check(held[i]->GetShapes(shapes.put()), "GetShapes");
        ComPtr<IHostShape> shape;
        Check(shapes->GetItem(1, shape.put()), "GetItem");
        Bstr style;
        Check(shape->GetStyleId(style.put()), "GetStyleId");
    }));
}

// Part 0 of the label shape of every held object.
std::vector<ComPtr<IHostContourPart>> LabelParts(const std::vector<ComPtr<IHostMapObject>>& held) {
    std::vector<ComPtr<IHostContourPart>> labels(held.size());
    for (std::size_t i = 0; i < held.size(); ++i) {
        ComPtr<IHostShapes> shapes;
        Check(held[i]->GetShapes(shapes.put()), "GetShapes");
        ComPtr<IHostShape> shape;
        Check(shapes->GetItem(1, shape.put()), "GetItem");
        ComPtr<IHostContour> contour;
        Check(shape->GetContour(contour.put()), "GetContour");
        Check(contour->GetPart(0, labels[i].put()), "GetPart");
    }
    return labels;
}

// Reading and writing label vertices, and committing the changes.
void MeasureVertexEdits(IHostMapObjects* objects,
                        const std::vector<ComPtr<IHostContourPart>>& labels,
                        std::vector<HostCallSample>& out) {
    const std::size_t n = labels.size();
    out.push_back(Time("IHostContourPart.GetVertex", n, 1, [&](LONG i) {
        double x, y, c;
        Check(labels[i]->GetVertex(0, &x, &y, &c), "GetVertex");
    }));
    // Vertices move as the editor moves them: a little, near the mark.
    const std::size_t side = GridSide(n);
    auto label_x = [&](LONG i) {
        return 10.0 * static_cast<double>(static_cast<std::size_t>(i) / side) + 0.25;
    };
    auto label_y = [&](LONG i) {
        return 10.0 * static_cast<double>(static_cast<std::size_t>(i) % side) + 0.2;
    };
    out.push_back(Time("IHostContourPart.SetVertex", n, 1, [&](LONG i) {
        Check(labels[i]->SetVertex(0, label_x(i), label_y(i), 0.0), "SetVertex");
    }));
    out.push_back(Time("IHostMapObjects.CommitChanges (N edits pending at first)", n, 1,
                       [&](LONG) { Check(objects->CommitChanges(), "CommitChanges"); }));
    out.push_back(Time("SetVertex then CommitChanges (per call)", n, 2, [&](LONG i) {
        Check(labels[i]->SetVertex(0, label_x(i) + 0.05, label_y(i), 0.0), "SetVertex");
        Check(objects->CommitChanges(), "CommitChanges");
    }));
}

// The calls on a project of plain marks.
void MeasurePlainMarkCalls(std::size_t n, std::vector<HostCallSample>& out) {
    std::vector<Bstr> ids;
    ids.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        ids.emplace_back(ObjectId(i));
    }
    host::HostContext host(BuildProject(ProjectKind::PlainMarks, n), u',');
    const ComPtr<IHostApplication> app = AppOf(host);
    const ComPtr<IHostMapObjects> objects = MapObjectsOf(app.get());
    MeasureLookups(app.get(), objects.get(), ids, out);
    std::vector<ComPtr<IHostMapObject>> held(n);
    for (std::size_t i = 0; i < n; ++i) {
        Check(objects->GetObject(ids[i].get(), held[i].put()), "GetObject");
    }
    MeasureShapeChain(held, out);
    MeasureVertexEdits(objects.get(), LabelParts(held), out);
}

// The rail query of the auto mark on a project of rail marks.
void MeasureRailQuery(std::size_t n, std::vector<HostCallSample>& out) {
    host::HostContext host(BuildProject(ProjectKind::RailMarks, n), u',');
    const ComPtr<IHostApplication> app = AppOf(host);
    const ComPtr<IHostMapObjects> objects = MapObjectsOf(app.get());
    const std::size_t side = GridSide(n);
    out.push_back(Time("QueryInRect, Eof, FetchNext, Eof (per call)", n, 4, [&](LONG i) {
        const double x = 10.0 * static_cast<double>(static_cast<std::size_t>(i) / side);
        const double y = 10.0 * static_cast<double>(static_cast<std::size_t>(i) % side);
        const Variant layer = Variant::Text(u"LR");
        ComPtr<IHostQueryCursor> cursor;
        Check(objects->QueryInRect(layer.get(), x - 2, y - 2, x + 2, y + 2, 0, cursor.put()),
              "QueryInRect");
        VARIANT_BOOL eof = VARIANT_TRUE;
        Check(cursor->Eof(&eof), "Eof");
        if (eof != VARIANT_FALSE) {
            throw std::runtime_error("the rail query found no rail line");
        }
        Bstr a, id;
        LONG v = 0;
        Check(cursor->FetchNext(a.put(), id.put(), &v), "FetchNext");
        Check(cursor->Eof(&eof), "Eof");
    }));
}

}  // namespace

std::vector<HostCallSample> MeasureHostCalls(std::size_t n) {
    std::vector<HostCallSample> out;
    MeasurePlainMarkCalls(n, out);
    MeasureRailQuery(n, out);
    return out;
}

}  // namespace kavrel::bench
