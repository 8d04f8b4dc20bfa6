// The map-objects collection, its query cursor, map objects and their semantics.
#include <cmath>

#include "base/bstr.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"
#include "host/model/number_format.h"
#include "host/model/template_text.h"

namespace kavrel::host {
namespace {

struct QueryRow {
    std::u16string layer;
    std::u16string object;
};

class QueryCursorObject : public AutomationObject<IHostQueryCursor> {
  public:
    QueryCursorObject(HostContext& host, std::vector<QueryRow> rows)
        : AutomationObject(host, "IHostQueryCursor"), rows_(std::move(rows)) {}

    HRESULT __stdcall FetchNext(BSTR* a, BSTR* id, LONG* v) override {
        return host().Automation("IHostQueryCursor.FetchNext", __uuidof(IHostQueryCursor), [&] {
            OutArg(a);
            OutArg(id);
            OutArg(v);
            if (next_ >= rows_.size()) {
                Fail(static_cast<HRESULT>(0x8000000BL) /* E_BOUNDS */,
                     u"Выборка исчерпана: строк больше нет");
            }
            const QueryRow& row = rows_[next_];
            Bstr layer(row.layer);
            Bstr object(row.object);
            *v = static_cast<LONG>(next_);
            *a = layer.Detach();
            *id = object.Detach();
            ++next_;
            return S_OK;
        });
    }

    HRESULT __stdcall Eof(VARIANT_BOOL* result) override {
        return host().Automation("IHostQueryCursor.Eof", __uuidof(IHostQueryCursor), [&] {
            *OutArg(result) = next_ >= rows_.size() ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        });
    }

  private:
    std::vector<QueryRow> rows_;  // taken when the query ran
    std::size_t next_ = 0;
};

class SemanticsObject : public AutomationObject<IHostSemantics> {
  public:
    SemanticsObject(HostContext& host, MapObject& object)
        : AutomationObject(host, "IHostSemantics"), object_(object) {}

    HRESULT __stdcall SetValue(BSTR table, BSTR field, VARIANT value, LONG options) override {
        return host().Automation("IHostSemantics.SetValue", __uuidof(IHostSemantics), [&] {
            if (options != 0) {
                Fail(E_INVALIDARG, u"Параметр options должен быть равен 0");
            }
            const std::u16string table_name = BstrText(table);
            const std::u16string field_name = BstrText(field);
            const Layer* layer = host().model().FindLayer(object_.layer);
            if (!layer || !host().model().HasField(*layer, table_name, field_name)) {
                Fail(kHostNotFound, u"Поле «" + table_name + u"." + field_name +
                                        u"» не найдено в слое «" + object_.layer + u"»");
            }
            const std::u16string key = table_name + u"." + field_name;
            std::optional<Value> stored;
            switch (value.vt) {
                case VT_R8:
                    stored = value.dblVal;
                    break;
                case VT_R4:
                    stored = static_cast<double>(value.fltVal);
                    break;
                case VT_I4:
                    stored = static_cast<double>(value.lVal);
                    break;
                case VT_I2:
                    stored = static_cast<double>(value.iVal);
                    break;
                case VT_UI1:
                    stored = static_cast<double>(value.bVal);
                    break;
                case VT_BSTR:
                    stored = BstrText(value.bstrVal);
                    break;
                case VT_EMPTY:
                case VT_NULL:
                    break;  // clears the value
                default:
                    Fail(DISP_E_TYPEMISMATCH, u"Значение поля должно быть числом или текстом");
            }
            if (stored && std::holds_alternative<double>(*stored) &&
                !std::isfinite(std::get<double>(*stored))) {
                Fail(E_INVALIDARG, u"Значение поля должно быть конечным числом");
            }
            ObjectState& state = host().model().Edit(object_);
            if (stored) {
                state.values[key] = std::move(*stored);
            } else {
                state.values.erase(key);
            }
            return S_OK;
        });
    }

  private:
    MapObject& object_;
};

class MapObjectObject : public AutomationObject<IHostMapObject> {
  public:
    MapObjectObject(HostContext& host, MapObject& object)
        : AutomationObject(host, "IHostMapObject"), object_(object) {}

    HRESULT __stdcall GetShapes(IHostShapes** result) override {
        return host().Automation("IHostMapObject.GetShapes", __uuidof(IHostMapObject), [&] {
            OutArg(result);
            *result = NewShapes(host(), object_);
            return S_OK;
        });
    }

    HRESULT __stdcall GetSemantics(IHostSemantics** result) override {
        return host().Automation("IHostMapObject.GetSemantics", __uuidof(IHostMapObject), [&] {
            OutArg(result);
            *result = HandOut(new SemanticsObject(host(), object_));
            return S_OK;
        });
    }

    HRESULT __stdcall ExpandTemplate(BSTR template_text, BSTR* result) override {
        return host().Automation("IHostMapObject.ExpandTemplate", __uuidof(IHostMapObject), [&] {
            OutArg(result);
            const Layer* layer = host().model().FindLayer(object_.layer);
            const char16_t separator = host().decimal_separator();
            auto field_text = [&](std::u16string_view reference) -> std::optional<std::u16string> {
                const std::size_t dot = reference.find(u'.');
                if (!layer || dot == std::u16string_view::npos ||
                    !host().model().HasField(*layer, reference.substr(0, dot),
                                             reference.substr(dot + 1))) {
                    return std::nullopt;
                }
                const auto& values = object_.current.values;
                auto it = values.find(std::u16string(reference));
                if (it == values.end()) {
                    return std::u16string();
                }
                if (const double* number = std::get_if<double>(&it->second)) {
                    return FormatNumber(*number, separator);
                }
                return std::get<std::u16string>(it->second);
            };
            try {
                *result = AllocBstr(ExpandTemplateText(BstrText(template_text), field_text));
            } catch (const UnknownFieldReference& e) {
                Fail(kHostNotFound,
                     u"Поле «" + e.reference() + u"» не найдено в слое «" + object_.layer + u"»");
            }
            return S_OK;
        });
    }

  private:
    MapObject& object_;
};

class MapObjectsObject : public AutomationObject<IHostMapObjects> {
  public:
    explicit MapObjectsObject(HostContext& host) : AutomationObject(host, "IHostMapObjects") {}

    HRESULT __stdcall GetObject(BSTR object_id, IHostMapObject** result) override {
        return host().Automation("IHostMapObjects.GetObject", __uuidof(IHostMapObjects), [&] {
            OutArg(result);
            // Looked up through a view of the BSTR: no copy per lookup.
            const std::u16string_view id =
                object_id ? std::u16string_view(reinterpret_cast<const char16_t*>(object_id),
                                                SysStringLen(object_id))
                          : std::u16string_view();
            MapObject* object = host().model().FindObject(id);
            if (!object) {
                Fail(kHostNotFound, u"Объект «" + std::u16string(id) + u"» не найден");
            }
            *result = NewMapObject(host(), *object);
            return S_OK;
        });
    }

    HRESULT __stdcall CommitChanges() override {
        return host().Automation("IHostMapObjects.CommitChanges", __uuidof(IHostMapObjects), [&] {
            host().model().CommitAll();
            return S_OK;
        });
    }

    HRESULT __stdcall QueryInRect(VARIANT layer_id, double xmin, double ymin, double xmax,
                                  double ymax, LONG options, IHostQueryCursor** result) override {
        return host().Automation("IHostMapObjects.QueryInRect", __uuidof(IHostMapObjects), [&] {
            OutArg(result);
            if (layer_id.vt != VT_BSTR) {
                Fail(DISP_E_TYPEMISMATCH, u"Слой запроса должен быть задан текстом");
            }
            const std::u16string layer = BstrText(layer_id.bstrVal);
            if (!host().model().FindLayer(layer)) {
                Fail(kHostNotFound, u"Слой «" + layer + u"» не найден");
            }
            if (options != 0) {
                Fail(E_INVALIDARG, u"Параметр options должен быть равен 0");
            }
            if (!(std::isfinite(xmin) && std::isfinite(ymin) && std::isfinite(xmax) &&
                  std::isfinite(ymax)) ||
                xmin > xmax || ymin > ymax) {
                Fail(E_INVALIDARG, u"Неверный прямоугольник запроса");
            }
            std::vector<QueryRow> rows;
            for (const MapObject* object :
                 host().model().QueryInRect(layer, Rect{xmin, ymin, xmax, ymax})) {
                rows.push_back(QueryRow{object->layer, object->id});
            }
            *result = HandOut(new QueryCursorObject(host(), std::move(rows)));
            return S_OK;
        });
    }
};

}  // namespace

IHostMapObjects* NewMapObjects(HostContext& host) {
    return HandOut(new MapObjectsObject(host));
}
IHostMapObject* NewMapObject(HostContext& host, MapObject& object) {
    return HandOut(new MapObjectObject(host, object));
}

}  // namespace kavrel::host
