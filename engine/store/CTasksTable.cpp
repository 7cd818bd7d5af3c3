#include "store/CTasksTable.h"

namespace eng {

CTasksTable::CTasksTable(Database &db)
    : CTable(db, "Tasks",
             {
                 {"UrlId", &TaskRow::urlId},
                 {"PostId", &TaskRow::postId},
                 {"Queued", &TaskRow::queued},
                 {"Retrieved", &TaskRow::retrieved},
                 {"Levels", &TaskRow::levels},
                 {"State", &TaskRow::state},
                 {"Created", &TaskRow::created},
                 {"Done", &TaskRow::done},
                 {"AAge", &TaskRow::acceptableAge},
                 {"FolderId", &TaskRow::folderId},
                 {"FilterId", &TaskRow::filterId},
                 {"NoteId", &TaskRow::noteId},
                 {"Name", &TaskRow::name, 255},
                 {"LowGraphics", &TaskRow::lowGraphics},
                 {"UserAgentId", &TaskRow::userAgentId},
                 {"Error", &TaskRow::error},
                 {"Size", &TaskRow::size},
                 {"ErrCode", &TaskRow::errCode},
                 {"ContentType", &TaskRow::contentType, 30},
                 {"SizeFilterId", &TaskRow::sizeFilterId},
                 {"MainItemId", &TaskRow::mainItemId},
                 {"RedirectUrl", &TaskRow::redirectUrl},
                 {"Referer", &TaskRow::referer},
                 {"Type", &TaskRow::type},
                 {"StatusCode", &TaskRow::statusCode},
                 {"AutoName", &TaskRow::autoName},
                 {"ErrFiles", &TaskRow::errFiles},
             },
             {{"PrimaryKey", {"TaskId"}}, {"FolderId", {"FolderId"}}, {"UrlId", {"UrlId", "PostId"}}}, "TaskId",
             &TaskRow::taskId) {}

}  // namespace eng
