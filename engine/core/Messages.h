#pragma once

#include <cstdint>

namespace eng::msg {

// Messages at or above this number are the engine's own; the rest belong
// to the platform (quit, timers).
inline constexpr uint32_t kFirstEngineMessage = 32769;

// Commands posted by the exports: taken before anything else.
inline constexpr uint32_t kFirstCommand = 32770;
inline constexpr uint32_t kLastCommand = 33769;

inline constexpr uint32_t kCreateTask = 32770;
inline constexpr uint32_t kRun = 32771;
inline constexpr uint32_t kStop = 32772;
inline constexpr uint32_t kGetProjectProp = 32773;
inline constexpr uint32_t kSetProjectProp = 32774;
inline constexpr uint32_t kResetProgress = 32775;
inline constexpr uint32_t kAbortConnection = 32778;
inline constexpr uint32_t kCreateFolder = 32779;
inline constexpr uint32_t kDeleteFolder = 32780;
inline constexpr uint32_t kRenameFolder = 32781;
inline constexpr uint32_t kGetSubFolders = 32782;
inline constexpr uint32_t kGetFolderTasks = 32783;
inline constexpr uint32_t kGetBody = 32784;
inline constexpr uint32_t kGetItemFromUrl = 32787;
inline constexpr uint32_t kSearchItems = 32789;
inline constexpr uint32_t kGetRelItems = 32790;
inline constexpr uint32_t kRefreshUrlRes = 32791;
inline constexpr uint32_t kExportDatabase = 32792;
inline constexpr uint32_t kKivAbortWaiting = 32793;
inline constexpr uint32_t kIndexDatabase = 32794;
inline constexpr uint32_t kExportTask = 32795;
inline constexpr uint32_t kDeleteTask = 32796;
inline constexpr uint32_t kStopTask = 32797;
inline constexpr uint32_t kRunTask = 32798;
inline constexpr uint32_t kMoveFolder = 32799;
inline constexpr uint32_t kGetTaskFromId = 32800;
inline constexpr uint32_t kGetFolder = 32801;
inline constexpr uint32_t kPingHosts = 32802;
inline constexpr uint32_t kUpdateTask = 32804;
inline constexpr uint32_t kGetTaskItems = 32805;
inline constexpr uint32_t kExportRes = 32806;
inline constexpr uint32_t kCompactDatabase = 32807;
inline constexpr uint32_t kRepairDatabase = 32808;
inline constexpr uint32_t kDeleteUrlRes = 32809;
inline constexpr uint32_t kGetStatistics = 32810;
inline constexpr uint32_t kFindTaskItem = 32811;
inline constexpr uint32_t kGetSource = 32812;
inline constexpr uint32_t kCreateUrlRes = 32813;
inline constexpr uint32_t kFindTasks = 32814;
inline constexpr uint32_t kRefreshTask = 32815;
inline constexpr uint32_t kGetItemFromUrlResId = 32816;
inline constexpr uint32_t kCountNotIndexedResources = 32817;
inline constexpr uint32_t kSerializeTask = 32818;
inline constexpr uint32_t kSerializeUrlres = 32819;
inline constexpr uint32_t kRefreshUrlRes2 = 32823;
inline constexpr uint32_t kRefreshPrj = 32824;
inline constexpr uint32_t kCountRefreshable = 32825;
inline constexpr uint32_t kValidateQuery = 32826;
inline constexpr uint32_t kTestFilter = 32827;
inline constexpr uint32_t kCountNotAcceptedResources = 32828;
inline constexpr uint32_t kGetProjectFigures = 32829;
inline constexpr uint32_t kGetStoredLinks = 32830;

// Internal messages.
inline constexpr uint32_t kDownloadDone = 32769;
inline constexpr uint32_t kOnlineChanged = 32869;
inline constexpr uint32_t kStartNext = 32969;
inline constexpr uint32_t kQueuedSuspended = 32970;
inline constexpr uint32_t kTaskChanged = 33621;
inline constexpr uint32_t kUrlResInserted = 33622;
inline constexpr uint32_t kUrlResChanged = 33623;
inline constexpr uint32_t kUrlResDeleting = 33624;
inline constexpr uint32_t kTaskAdded = 33630;

}  // namespace eng::msg
