#include "store/CStrTable.h"

namespace eng {

CStrTable::CStrTable(Database &db)
    : CTable(db, "Strings",
             {
                 {"Type", &StrRow::type},
                 {"Hash", &StrRow::hash},
                 {"RefCount", &StrRow::refCount},
                 {"String", &StrRow::text, 255},
             },
             {{"PrimaryKey", {"StrId"}}, {"TypeHash", {"Type", "Hash"}}}, "StrId", &StrRow::strId) {}

}  // namespace eng
