#include "store/ProjectVersion.h"

#include "store/Database.h"
#include "sys/EngineException.h"

namespace eng {

void checkProjectVersion(Database &db) {
    Statement query = db.prepare("SELECT Version FROM Project");
    if (!query.step() || query.isNull(0) || query.integer(0) != kProjectVersion)
        throw CEngineException("Wrong project version");
}

}  // namespace eng
