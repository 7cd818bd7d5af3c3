#include "store/CIndexTable.h"

namespace eng {

namespace {
std::vector<Field<WordRow>> wordFields() {
    return {{"ResId", &WordRow::resId}, {"Word", &WordRow::word, 20}, {"Pos", &WordRow::pos}};
}
}  // namespace

CIndexTable::CIndexTable(Database &db) : CTable(db, "Index", wordFields(), {}, "") {}

CTitleIndexTable::CTitleIndexTable(Database &db)
    : CTable(db, "Title_Index", wordFields(), {{"PrimaryKey", {"ResId"}}}, "") {}

void addWordLookupIndexes(Database &db) {
    db.execute("CREATE INDEX IF NOT EXISTS \"Index.Word\" ON \"Index\" (Word, ResId, Pos)");
    db.execute("CREATE INDEX IF NOT EXISTS \"Title_Index.Word\" ON Title_Index (Word, ResId, Pos)");
}

}  // namespace eng
