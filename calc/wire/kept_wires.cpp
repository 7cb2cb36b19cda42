#include "calc/wire/kept_wires.h"

namespace voltaro::calc::wire {

namespace {

std::optional<refdb::DbError> clear(refdb::Database& db) {
    return db.execute("DELETE FROM KeepWires");
}

// A position read back from the table: out of the 16-bit range reads as 0 (the first entry).
std::int16_t position(const refdb::Value& cell) {
    const double value = cell.number();
    return value >= 0 && value <= 32767 ? static_cast<std::int16_t>(value) : std::int16_t{0};
}

}  // namespace

std::optional<refdb::DbError> keepWires(refdb::Database& db, const KeptWires& kept) {
    if (auto error = clear(db)) return error;
    auto rows =
        db.openRecordset("SELECT * FROM KeepWires WHERE 0", refdb::Recordset::Kind::Dynaset);
    if (!rows) return rows.error();
    if (auto error = rows->addNew()) return error;
    if (auto error = rows->setField("Amps", kept.amps)) return error;
    if (auto error = rows->setField("Material", kept.material)) return error;
    if (auto error = rows->setField("Insul", kept.insul)) return error;
    if (auto error = rows->setField("Wires", kept.wires)) return error;
    if (auto error = rows->setField("Temp", kept.temp)) return error;
    return rows->update();
}

refdb::Result<std::optional<KeptWires>> takeKeptWires(refdb::Database& db) {
    auto rows = db.openRecordset("SELECT * FROM KeepWires");
    if (!rows) return rows.error();
    std::optional<KeptWires> kept;
    if (rows->recordCount() > 0) {
        rows->moveLast();
        kept = KeptWires{rows->field("Amps").text(), position(rows->field("Material")),
                         position(rows->field("Insul")), rows->field("Wires").text(),
                         rows->field("Temp").text()};
    }
    if (auto error = clear(db)) return *error;
    return kept;
}

}  // namespace voltaro::calc::wire
