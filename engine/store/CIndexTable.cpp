#include "store/CIndexTable.h"

namespace eng {

namespace {
std::vector<Field<WordRow>> wordFields() {
    return {{"ResId", &WordRow::resId}, {"Word", &WordRow::word, 20}, {"Pos", &WordRow::pos}};
}
}  // namespace

CIndexTable::CIndexTable(Database &db) : CTable(db, "Index", wordFields(), {}, "") {}

bool CIndexTable::empty() {
    Statement &first = statement("SELECT 1 FROM \"Index\" LIMIT 1");
    const bool none = !first.step();
    first.reset();
    return none;
}

void CIndexTable::dropWordLookup() { db_.execute("DROP INDEX IF EXISTS \"Index.Word\""); }

void CIndexTable::restoreWordLookup() { addWordLookupIndexes(db_); }

CTitleIndexTable::CTitleIndexTable(Database &db)
    : CTable(db, "Title_Index", wordFields(), {{"PrimaryKey", {"ResId"}}}, "") {}

void addWordLookupIndexes(Database &db) {
    db.execute("CREATE INDEX IF NOT EXISTS \"Index.Word\" ON \"Index\" (Word, ResId, Pos)");
    db.execute("CREATE INDEX IF NOT EXISTS \"Title_Index.Word\" ON Title_Index (Word, ResId, Pos)");
}

}  // namespace eng
