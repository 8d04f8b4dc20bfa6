// The database, its styles, layers and attribute tables.
#include "base/bstr.h"
#include "host/com/host_context.h"
#include "host/com/host_objects.h"

namespace kavrel::host {
namespace {

const Layer& LayerOrFail(HostContext& host, const std::u16string& id) {
    const Layer* layer = host.model().FindLayer(id);
    if (!layer) {
        Fail(kHostNotFound, u"Слой «" + id + u"» не найден");
    }
    return *layer;
}

const SemTable& TableOrFail(HostContext& host, const std::u16string& layer_id, LONG index) {
    const Layer& layer = LayerOrFail(host, layer_id);
    if (index < 0 || static_cast<std::size_t>(index) >= layer.tables.size()) {
        Fail(DISP_E_BADINDEX, u"Таблица " + IndexText(index) + u" слоя «" + layer_id +
                                  u"» не существует (таблиц: " +
                                  IndexText(static_cast<long>(layer.tables.size())) + u")");
    }
    return layer.tables[index];
}

class SemFieldObject : public AutomationObject<IHostSemField> {
  public:
    SemFieldObject(HostContext& host, std::u16string name)
        : AutomationObject(host, "IHostSemField"), name_(std::move(name)) {}

    HRESULT __stdcall GetName(BSTR* result) override {
        return host().Automation("IHostSemField.GetName", __uuidof(IHostSemField), [&] {
            *OutArg(result) = AllocBstr(name_);
            return S_OK;
        });
    }

  private:
    std::u16string name_;
};

class SemFieldsObject : public AutomationObject<IHostSemFields> {
  public:
    SemFieldsObject(HostContext& host, std::u16string layer, LONG table)
        : AutomationObject(host, "IHostSemFields"), layer_(std::move(layer)), table_(table) {}

    HRESULT __stdcall GetCount(LONG* result) override {
        return host().Automation("IHostSemFields.GetCount", __uuidof(IHostSemFields), [&] {
            OutArg(result);
            *result = static_cast<LONG>(TableOrFail(host(), layer_, table_).fields.size());
            return S_OK;
        });
    }

    HRESULT __stdcall GetItem(VARIANT index, IHostSemField** result) override {
        return host().Automation("IHostSemFields.GetItem", __uuidof(IHostSemFields), [&] {
            OutArg(result);
            const SemTable& table = TableOrFail(host(), layer_, table_);
            // The index may come as any integer variant; a name is accepted as well.
            LONG position = -1;
            switch (index.vt) {
                case VT_I4:
                    position = index.lVal;
                    break;
                case VT_I2:
                    position = index.iVal;
                    break;
                case VT_UI1:
                    position = index.bVal;
                    break;
                case VT_BSTR: {
                    const std::u16string name = BstrText(index.bstrVal);
                    for (std::size_t i = 0; i < table.fields.size(); ++i) {
                        if (table.fields[i] == name) {
                            position = static_cast<LONG>(i);
                        }
                    }
                    if (position < 0) {
                        Fail(kHostNotFound,
                             u"Поле «" + name + u"» таблицы «" + table.name + u"» не найдено");
                    }
                    break;
                }
                default:
                    Fail(DISP_E_TYPEMISMATCH,
                         u"Индекс поля должен быть целым числом или именем поля");
            }
            if (position < 0 || static_cast<std::size_t>(position) >= table.fields.size()) {
                Fail(DISP_E_BADINDEX, u"Поле " + IndexText(position) + u" таблицы «" + table.name +
                                          u"» не существует (полей: " +
                                          IndexText(static_cast<long>(table.fields.size())) + u")");
            }
            *result = HandOut(new SemFieldObject(host(), table.fields[position]));
            return S_OK;
        });
    }

  private:
    std::u16string layer_;
    LONG table_;
};

class SemTableObject : public AutomationObject<IHostSemTable> {
  public:
    SemTableObject(HostContext& host, std::u16string layer, LONG table)
        : AutomationObject(host, "IHostSemTable"), layer_(std::move(layer)), table_(table) {}

    HRESULT __stdcall GetName(BSTR* result) override {
        return host().Automation("IHostSemTable.GetName", __uuidof(IHostSemTable), [&] {
            OutArg(result);
            *result = AllocBstr(TableOrFail(host(), layer_, table_).name);
            return S_OK;
        });
    }

    HRESULT __stdcall GetFields(IHostSemFields** result) override {
        return host().Automation("IHostSemTable.GetFields", __uuidof(IHostSemTable), [&] {
            OutArg(result);
            TableOrFail(host(), layer_, table_);
            *result = HandOut(new SemFieldsObject(host(), layer_, table_));
            return S_OK;
        });
    }

  private:
    std::u16string layer_;
    LONG table_;
};

class SemTablesObject : public AutomationObject<IHostSemTables> {
  public:
    SemTablesObject(HostContext& host, std::u16string layer)
        : AutomationObject(host, "IHostSemTables"), layer_(std::move(layer)) {}

    HRESULT __stdcall GetCount(LONG* result) override {
        return host().Automation("IHostSemTables.GetCount", __uuidof(IHostSemTables), [&] {
            OutArg(result);
            *result = static_cast<LONG>(LayerOrFail(host(), layer_).tables.size());
            return S_OK;
        });
    }

    HRESULT __stdcall GetItem(LONG index, IHostSemTable** result) override {
        return host().Automation("IHostSemTables.GetItem", __uuidof(IHostSemTables), [&] {
            OutArg(result);
            TableOrFail(host(), layer_, index);
            *result = HandOut(new SemTableObject(host(), layer_, index));
            return S_OK;
        });
    }

  private:
    std::u16string layer_;
};

class LayerObject : public AutomationObject<IHostLayer> {
  public:
    LayerObject(HostContext& host, std::u16string id)
        : AutomationObject(host, "IHostLayer"), id_(std::move(id)) {}

    HRESULT __stdcall GetId(BSTR* result) override {
        return host().Automation("IHostLayer.GetId", __uuidof(IHostLayer), [&] {
            *OutArg(result) = AllocBstr(LayerOrFail(host(), id_).id);
            return S_OK;
        });
    }

    HRESULT __stdcall GetName(BSTR* result) override {
        return host().Automation("IHostLayer.GetName", __uuidof(IHostLayer), [&] {
            *OutArg(result) = AllocBstr(LayerOrFail(host(), id_).name);
            return S_OK;
        });
    }

    HRESULT __stdcall GetSemTables(IHostSemTables** result) override {
        return host().Automation("IHostLayer.GetSemTables", __uuidof(IHostLayer), [&] {
            OutArg(result);
            LayerOrFail(host(), id_);
            *result = HandOut(new SemTablesObject(host(), id_));
            return S_OK;
        });
    }

  private:
    std::u16string id_;
};

class StyleObject : public AutomationObject<IHostStyle> {
  public:
    StyleObject(HostContext& host, std::u16string id)
        : AutomationObject(host, "IHostStyle"), id_(std::move(id)) {}

    HRESULT __stdcall GetName(BSTR* result) override {
        return host().Automation("IHostStyle.GetName", __uuidof(IHostStyle), [&] {
            *OutArg(result) = AllocBstr(Style().name);
            return S_OK;
        });
    }

    HRESULT __stdcall GetLayer(IHostLayer** result) override {
        return host().Automation("IHostStyle.GetLayer", __uuidof(IHostStyle), [&] {
            OutArg(result);
            *result = NewLayer(host(), Style().layer);
            return S_OK;
        });
    }

  private:
    const kavrel::host::Style& Style() const {
        const auto* style = host().model().FindStyle(id_);
        if (!style) {
            Fail(kHostNotFound, u"Стиль «" + id_ + u"» не найден");
        }
        return *style;
    }
    std::u16string id_;
};

class DatabaseObject : public AutomationObject<IHostDatabase> {
  public:
    explicit DatabaseObject(HostContext& host) : AutomationObject(host, "IHostDatabase") {}

    HRESULT __stdcall StyleExists(BSTR style_id, VARIANT_BOOL* result) override {
        return host().Automation("IHostDatabase.StyleExists", __uuidof(IHostDatabase), [&] {
            OutArg(result);
            const bool exists = host().model().FindStyle(BstrText(style_id)) != nullptr;
            *result = exists ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        });
    }

    HRESULT __stdcall GetStyle(BSTR style_id, IHostStyle** result) override {
        return host().Automation("IHostDatabase.GetStyle", __uuidof(IHostDatabase), [&] {
            OutArg(result);
            const std::u16string id = BstrText(style_id);
            if (!host().model().FindStyle(id)) {
                Fail(kHostNotFound, u"Стиль «" + id + u"» не найден");
            }
            *result = NewStyle(host(), id);
            return S_OK;
        });
    }

    HRESULT __stdcall GetMapObjects(IHostMapObjects** result) override {
        return host().Automation("IHostDatabase.GetMapObjects", __uuidof(IHostDatabase), [&] {
            OutArg(result);
            *result = NewMapObjects(host());
            return S_OK;
        });
    }
};

}  // namespace

IHostDatabase* NewDatabase(HostContext& host) {
    return HandOut(new DatabaseObject(host));
}
IHostStyle* NewStyle(HostContext& host, std::u16string style_id) {
    return HandOut(new StyleObject(host, std::move(style_id)));
}
IHostLayer* NewLayer(HostContext& host, std::u16string layer_id) {
    return HandOut(new LayerObject(host, std::move(layer_id)));
}

}  // namespace kavrel::host
