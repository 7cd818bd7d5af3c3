#pragma once

namespace eng {

class Database;

// The only project version that this engine reads and writes.
inline constexpr int kProjectVersion = 257;

// Throws CEngineException "Wrong project version" unless the project's
// single Project row carries kProjectVersion.
void checkProjectVersion(Database &db);

}  // namespace eng
