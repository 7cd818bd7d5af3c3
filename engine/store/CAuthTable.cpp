#include "store/CAuthTable.h"

namespace eng {

CAuthTable::CAuthTable(Database &db)
    : CTable(db, "Auth",
             {
                 {"Realm", &AuthRow::realm, 50},
                 {"UserName", &AuthRow::userName, 50},
                 {"Password", &AuthRow::password, 50},
             },
             {{"PrimaryKey", {"Realm"}}}, "Realm") {}

}  // namespace eng
