#include "calc/conduit/fill_data.h"

#include <algorithm>

#include "calc/common/data_failure.h"
#include "refdb/sql.h"

namespace voltaro::calc::conduit {

namespace {

Failure unreadable(std::string_view table) {
    return dataFailure("The " + std::string(table) + " table cannot be read.");
}

// The texts of one column of `sql`'s rows, each once, in the order of their first row.
Rows<std::string> distinctColumn(refdb::Database& db, const std::string& sql,
                                 std::string_view column, std::string_view table) {
    auto rows = db.openRecordset(sql);
    if (!rows) return unreadable(table);
    std::vector<std::string> values;
    for (rows->moveFirst(); !rows->eof(); rows->moveNext()) {
        auto value = rows->field(column).text();
        if (std::find(values.begin(), values.end(), value) == values.end())
            values.push_back(std::move(value));
    }
    return values;
}

}  // namespace

Rows<std::string> insulationTypes(refdb::Database& db) {
    return distinctColumn(db, "SELECT Type FROM WireType ORDER BY rowid", "Type", "WireType");
}

Rows<std::string> gaugesOf(refdb::Database& db, std::string_view type) {
    return distinctColumn(db,
                          "SELECT WireDim.Gauge AS Gauge FROM WireType JOIN WireDim"
                          " ON WireDim.Dim = WireType.Dim WHERE WireType.Type = " +
                              refdb::sqlText(type) + " ORDER BY WireType.rowid, WireDim.rowid",
                          "Gauge", "WireDim");
}

Rows<ConduitType> conduitTypes(refdb::Database& db) {
    auto rows = db.openRecordset("SELECT * FROM ConType");
    if (!rows) return unreadable("ConType");
    std::vector<ConduitType> types;
    for (rows->moveFirst(); !rows->eof(); rows->moveNext())
        types.push_back({rows->field("Abbr").text(), rows->field("PipeName").text()});
    return types;
}

Rows<Conductor> dragList(refdb::Database& db) {
    auto rows = db.openRecordset("SELECT * FROM DragList");
    if (!rows) return unreadable("DragList");
    std::vector<Conductor> conductors;
    for (rows->moveFirst(); !rows->eof(); rows->moveNext())
        conductors.push_back({rows->field("WiresGa").text(), rows->field("WiresTy").text()});
    return conductors;
}

std::optional<refdb::DbError> removeFromDragList(refdb::Database& db, const Conductor& conductor,
                                                 int occurrence) {
    auto rows = db.openRecordset(
        "SELECT * FROM DragList WHERE WiresGa = " + refdb::sqlText(conductor.gauge) +
            " AND WiresTy = " + refdb::sqlText(conductor.type),
        refdb::Recordset::Kind::Dynaset);
    if (!rows) return rows.error();
    if (rows->recordCount() == 0) return std::nullopt;
    rows->moveFirst();
    for (int i = 0; i < occurrence && !rows->eof(); ++i) rows->moveNext();
    if (rows->eof()) rows->moveLast();
    return rows->deleteCurrent();
}

}  // namespace voltaro::calc::conduit
