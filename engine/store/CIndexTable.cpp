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

}  // namespace eng
