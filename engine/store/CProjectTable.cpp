#include "store/CProjectTable.h"

namespace eng {

CProjectTable::CProjectTable(Database &db)
    : select_(db.prepare("SELECT NoteId, UsrData, OnlineTime, PrjFilterId, Version, OptionsFlags FROM Project "
                         "ORDER BY rowid LIMIT 1")),
      update_(db.prepare("UPDATE Project SET NoteId = ?, UsrData = ?, OnlineTime = ?, PrjFilterId = ?, "
                         "Version = ?, OptionsFlags = ? WHERE rowid = (SELECT min(rowid) FROM Project)")),
      insert_(db.prepare("INSERT INTO Project (NoteId, UsrData, OnlineTime, PrjFilterId, Version, OptionsFlags) "
                         "VALUES (?, ?, ?, ?, ?, ?)")) {}

std::optional<ProjectRow> CProjectTable::load() {
    if (!select_.step()) {
        select_.reset();
        return std::nullopt;
    }
    ProjectRow row;
    row.noteId = static_cast<uint32_t>(select_.integer(0));
    row.usrData = static_cast<uint32_t>(select_.integer(1));
    row.onlineTime = select_.real(2);
    row.prjFilterId = static_cast<uint32_t>(select_.integer(3));
    row.version = static_cast<uint32_t>(select_.integer(4));
    row.optionsFlags = static_cast<uint32_t>(select_.integer(5));
    select_.reset();
    return row;
}

void CProjectTable::bindRow(Statement &s, const ProjectRow &row) {
    s.bind(1, int64_t{row.noteId})
        .bind(2, int64_t{row.usrData})
        .bind(3, row.onlineTime)
        .bind(4, int64_t{row.prjFilterId})
        .bind(5, int64_t{row.version})
        .bind(6, int64_t{row.optionsFlags});
}

void CProjectTable::save(const ProjectRow &row) {
    bindRow(update_, row);
    update_.run();
}

void CProjectTable::add(const ProjectRow &row) {
    bindRow(insert_, row);
    insert_.run();
}

}  // namespace eng
