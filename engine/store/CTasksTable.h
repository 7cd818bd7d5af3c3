#pragma once

#include "base/DateTime.h"
#include "store/CTable.h"

namespace eng {

struct TaskRow {
    uint32_t taskId = 0;
    uint32_t urlId = 0;
    uint32_t postId = 0;
    uint32_t queued = 0;
    uint32_t retrieved = 0;
    uint32_t levels = 0;
    uint32_t state = 0;
    Date created = 0;
    Date done = 0;
    Date acceptableAge = 0;
    uint32_t folderId = 0;
    uint32_t filterId = 0;
    uint32_t noteId = 0;
    std::string name;
    bool lowGraphics = false;
    uint32_t userAgentId = 0;
    bool error = false;
    uint32_t size = 0;
    uint32_t errCode = 0;
    std::string contentType;
    uint32_t sizeFilterId = 0;
    uint32_t mainItemId = 0;
    bool redirectUrl = false;
    uint32_t referer = 0;
    uint8_t type = 0;
    int16_t statusCode = 0;
    bool autoName = false;
    uint32_t errFiles = 0;
};

// Table Tasks: download tasks.
class CTasksTable : public CTable<TaskRow> {
public:
    explicit CTasksTable(Database &db);
    std::vector<TaskRow> inFolder(uint32_t folder) { return rows("FolderId", {int64_t{folder}}); }
    std::vector<TaskRow> withUrl(uint32_t urlId, uint32_t postId) {
        return rows("UrlId", {int64_t{urlId}, int64_t{postId}});
    }
};

}  // namespace eng
