#include "store/SavedQueries.h"

#include <array>
#include <utility>

#include "store/DatabaseException.h"

namespace eng {

namespace {

// Yes/No columns hold 0 or 1; "Last" of the original becomes the latest date.
constexpr std::array<std::pair<std::string_view, std::string_view>, 15> kQueries{{
    {"Get Queued", "SELECT count(*) AS Queued FROM UrlRes WHERE UrlRes.State = 3"},
    {"UrlRes Set State", "UPDATE UrlRes SET State = :NEW_STATE WHERE State = :OLD_STATE"},
    {"Update UrlRes RunCount",
     "UPDATE UrlRes SET RunCount = RunCount + 1 WHERE UrlResId IN "
     "(SELECT Items.UrlResId FROM Items INNER JOIN Tasks ON Items.TaskId = Tasks.TaskId "
     "WHERE Tasks.TaskId = :TASKID_PARAM)"},
    {"Select items by state",
     "SELECT Items.* FROM Items INNER JOIN UrlRes ON Items.UrlResId = UrlRes.UrlResId "
     "WHERE (UrlRes.State = :STATE1_PARAM OR UrlRes.State = :STATE2_PARAM) AND Items.TaskId = :TASKID_PARAM"},
    {"Select Linked By",
     "SELECT UrlRes.*, Rel.Relation FROM Rel LEFT JOIN UrlRes ON UrlRes.ResId = Rel.ResId "
     "WHERE Rel.UrlId = :URLID_PARAM AND Rel.PostId = :POSTID_PARAM"},
    {"Select Latest Urls",
     "SELECT UrlRes.UrlId, max(UrlRes.DoneTime) AS DoneTime FROM UrlRes "
     "WHERE UrlRes.State = 2 AND UrlRes.Size <> 0 GROUP BY UrlRes.UrlId"},
    {"Select ResId and UrlId to export",
     "SELECT DISTINCT UrlRes.UrlId, UrlRes.Type, UrlRes.RedirectUrlId, UrlRes.ResId FROM "
     "(SELECT UrlRes.UrlId, max(UrlRes.DoneTime) AS DoneTime FROM UrlRes "
     "WHERE UrlRes.State = 2 AND UrlRes.Size <> 0 GROUP BY UrlRes.UrlId) AS Latest "
     "INNER JOIN UrlRes ON Latest.DoneTime = UrlRes.DoneTime AND Latest.UrlId = UrlRes.UrlId "
     "WHERE UrlRes.Size <> 0"},
    {"Select Not Indexed",
     "SELECT Res.ResId, Res.Body, Res.ContentType FROM Res WHERE (Res.Type = 1 OR Res.Type = 6) AND Res.Indexed = 0"},
    {"Get Not Indexed Size",
     "SELECT count(*) AS Count, coalesce(sum(Res.Size), 0) AS Size FROM Res "
     "WHERE Res.Indexed = 0 AND (Res.Type = 1 OR Res.Type = 6)"},
    {"Get Statistics",
     "SELECT Res.Type AS Type, sum(Res.Size) AS Size, count(Res.Type) AS Files FROM Res GROUP BY Res.Type"},
    {"Import Words", "INSERT INTO \"Index\" (ResId, Word, Pos) VALUES (:RESID, :WORD, :POS)"},
    {"Delete ResId From Index", "DELETE FROM \"Index\" WHERE ResId = :RESID_PARAM"},
    {"Delete ResId From Title_Index", "DELETE FROM Title_Index WHERE ResId = :RESID_PARAM"},
    {"Clear Index", "DELETE FROM \"Index\""},
    {"Clear All Indexed", "UPDATE Res SET Indexed = 0 WHERE Indexed = 1"},
}};

}  // namespace

std::string_view SavedQueries::text(std::string_view name) {
    for (const auto &[queryName, sql] : kQueries)
        if (queryName == name) return sql;
    return {};
}

Statement &SavedQueries::get(std::string_view name) {
    auto it = prepared_.find(name);
    if (it != prepared_.end()) {
        it->second.reset();
        return it->second;
    }
    const std::string_view sql = text(name);
    if (sql.empty()) throw CDatabaseException("No saved query \"" + std::string(name) + "\"");
    return prepared_.emplace(std::string(name), db_.prepare(sql)).first->second;
}

namespace {
std::string_view parameterName(std::string_view bracketed) {
    if (bracketed.size() >= 2 && bracketed.front() == '[' && bracketed.back() == ']')
        return bracketed.substr(1, bracketed.size() - 2);
    return bracketed;
}
}  // namespace

void SavedQueries::bind(Statement &query, std::string_view bracketedName, int64_t value) {
    query.bindNamed(parameterName(bracketedName), value);
}

void SavedQueries::bind(Statement &query, std::string_view bracketedName, std::string_view text) {
    query.bindNamed(parameterName(bracketedName), text);
}

}  // namespace eng
