#include "store/CUrlResTable.h"

namespace eng {

CUrlResTable::CUrlResTable(Database &db)
    : CTable(db, "UrlRes",
             {
                 {"UrlId", &UrlResRow::urlId},
                 {"PostId", &UrlResRow::postId},
                 {"RedirectUrlId", &UrlResRow::redirectUrlId},
                 {"ResId", &UrlResRow::resId},
                 {"Type", &UrlResRow::type},
                 {"LastModified", &UrlResRow::lastModified},
                 {"HttpVersion", &UrlResRow::httpVersion, 15},
                 {"StatusCode", &UrlResRow::statusCode},
                 {"Server", &UrlResRow::server, 50},
                 {"ContentType", &UrlResRow::contentType, 30},
                 {"ContentLength", &UrlResRow::contentLength},
                 {"TcpError", &UrlResRow::tcpError},
                 {"LastError", &UrlResRow::lastError},
                 {"DoneTime", &UrlResRow::doneTime},
                 {"RefCount", &UrlResRow::refCount},
                 {"Error", &UrlResRow::error},
                 {"Priority", &UrlResRow::priority},
                 {"Domain", &UrlResRow::domain},
                 {"State", &UrlResRow::state},
                 {"Url", &UrlResRow::url, 255},
                 {"UrlHash", &UrlResRow::urlHash},
                 {"RunCount", &UrlResRow::runCount},
                 {"UserAgentId", &UrlResRow::userAgentId},
                 {"Retries", &UrlResRow::retries},
                 {"Size", &UrlResRow::size},
                 {"Title", &UrlResRow::title, 255},
                 {"Tag", &UrlResRow::tag},
                 {"MinSize", &UrlResRow::minSize},
                 {"MaxSize", &UrlResRow::maxSize},
                 {"Referer", &UrlResRow::referer},
             },
             {{"PrimaryKey", {"UrlResId"}},
              {"Hash", {"UrlHash"}},
              {"ResId", {"ResId"}},
              {"StatePriority", {"State", "Priority DESC", "Domain"}},
              {"UrlRes", {"UrlId", "PostId", "DoneTime DESC"}}},
             "UrlResId", &UrlResRow::urlResId) {}

}  // namespace eng
