// Checked calls of the host's automation layer that the settings dialog makes:
// styles, their layers and the layers' attribute tables. A failing status
// becomes an exception with the host's own error description at the call site.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/com_ptr.h"
#include "gis/host_api.h"
#include "gis/host_calls.h"

namespace kavrel::gis {

bool StyleExists(IHostDatabase* database, std::u16string_view style_id);
std::u16string StyleName(IHostStyle* style);
std::u16string LayerName(IHostLayer* layer);

ComPtr<IHostSemTables> SemTablesOf(IHostLayer* layer);
LONG SemTableCount(IHostSemTables* tables);
ComPtr<IHostSemTable> SemTableAt(IHostSemTables* tables, LONG index);
std::u16string SemTableName(IHostSemTable* table);
ComPtr<IHostSemFields> FieldsOf(IHostSemTable* table);
LONG FieldCount(IHostSemFields* fields);
// The field at an index, passed as a variant holding a 32-bit integer.
ComPtr<IHostSemField> FieldAt(IHostSemFields* fields, LONG index);
std::u16string FieldName(IHostSemField* field);

// Every field of the layer's attribute tables, in table order, then field
// order, as the host lists them: take(table name, field name) is called for
// each as soon as it is read (the table's name is read again for each field).
void ForEachField(
    IHostLayer* layer,
    const std::function<void(const std::u16string& table, const std::u16string& field)>& take);

}  // namespace kavrel::gis
