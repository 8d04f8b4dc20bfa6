#include "gis/style_calls.h"

#include "base/bstr.h"
#include "base/errors.h"
#include "base/variant.h"

namespace kavrel::gis {
namespace {

template <typename I>
std::u16string NameOf(I* object) {
    Bstr name;
    CheckAutomation(object->GetName(name.put()));
    return name.str();
}

}  // namespace

bool StyleExists(IHostDatabase* database, std::u16string_view style_id) {
    const Bstr id(style_id);
    VARIANT_BOOL exists = VARIANT_FALSE;
    CheckAutomation(database->StyleExists(id.get(), &exists));
    return exists != VARIANT_FALSE;
}

std::u16string StyleName(IHostStyle* style) {
    return NameOf(style);
}

std::u16string LayerName(IHostLayer* layer) {
    return NameOf(layer);
}

ComPtr<IHostSemTables> SemTablesOf(IHostLayer* layer) {
    ComPtr<IHostSemTables> tables;
    CheckAutomation(layer->GetSemTables(tables.put()));
    return RequireObject(std::move(tables));
}

LONG SemTableCount(IHostSemTables* tables) {
    LONG count = 0;
    CheckAutomation(tables->GetCount(&count));
    return count;
}

ComPtr<IHostSemTable> SemTableAt(IHostSemTables* tables, LONG index) {
    ComPtr<IHostSemTable> table;
    CheckAutomation(tables->GetItem(index, table.put()));
    return RequireObject(std::move(table));
}

std::u16string SemTableName(IHostSemTable* table) {
    return NameOf(table);
}

ComPtr<IHostSemFields> FieldsOf(IHostSemTable* table) {
    ComPtr<IHostSemFields> fields;
    CheckAutomation(table->GetFields(fields.put()));
    return RequireObject(std::move(fields));
}

LONG FieldCount(IHostSemFields* fields) {
    LONG count = 0;
    CheckAutomation(fields->GetCount(&count));
    return count;
}

ComPtr<IHostSemField> FieldAt(IHostSemFields* fields, LONG index) {
    const Variant position = Variant::Int32(index);
    ComPtr<IHostSemField> field;
    CheckAutomation(fields->GetItem(position.get(), field.put()));
    return RequireObject(std::move(field));
}

std::u16string FieldName(IHostSemField* field) {
    return NameOf(field);
}

void ForEachField(
    IHostLayer* layer,
    const std::function<void(const std::u16string& table, const std::u16string& field)>& take) {
    const ComPtr<IHostSemTables> tables = SemTablesOf(layer);
    const LONG table_count = SemTableCount(tables.get());
    for (LONG t = 0; t < table_count; ++t) {
        const ComPtr<IHostSemTable> table = SemTableAt(tables.get(), t);
        const ComPtr<IHostSemFields> fields = FieldsOf(table.get());
        const LONG field_count = FieldCount(fields.get());
        for (LONG i = 0; i < field_count; ++i) {
            const std::u16string table_name = SemTableName(table.get());
            const ComPtr<IHostSemField> field = FieldAt(fields.get(), i);
            take(table_name, FieldName(field.get()));
        }
    }
}

}  // namespace kavrel::gis
