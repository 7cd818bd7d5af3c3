#pragma once

#include "store/CTable.h"

namespace eng {

struct AuthRow {
    std::string realm;
    std::string userName;
    std::string password;
};

// Table Auth: stored credentials by protection realm.
class CAuthTable : public CTable<AuthRow> {
public:
    explicit CAuthTable(Database &db);
};

}  // namespace eng
