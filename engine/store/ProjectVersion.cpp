#include "store/ProjectVersion.h"

#include "base/EngineException.h"
#include "store/Database.h"

namespace eng {

void checkProjectVersion(Database &db) {
    // A database without the Project table is some other program's file.
    Statement table = db.prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = 'Project'");
    if (!table.step()) throw CEngineException("Wrong project version");
    Statement query = db.prepare("SELECT Version FROM Project");
    if (!query.step() || query.isNull(0) || query.integer(0) != kProjectVersion)
        throw CEngineException("Wrong project version");
}

}  // namespace eng
