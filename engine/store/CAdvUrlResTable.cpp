#include "store/CAdvUrlResTable.h"

#include <cmath>

#include "base/DomainKey.h"
#include "base/UrlHash.h"
#include "engine.h"

namespace eng {

namespace {

// The string fields of a row, each of which holds one reference.
constexpr uint32_t UrlResRow::*kStringFields[] = {&UrlResRow::urlId, &UrlResRow::postId, &UrlResRow::redirectUrlId,
                                                  &UrlResRow::userAgentId, &UrlResRow::referer};

std::string errorCondition(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::NetworkErrors:
            return "TcpError=true and State=2";
        case ErrorKind::ServerErrors:
            return "Error=true AND TcpError=false AND State=2";
        case ErrorKind::AllErrors:
            break;
    }
    return "Error=true and State=2";
}

}  // namespace

CAdvUrlResTable::CAdvUrlResTable(Database &db, CStrTable &strings, CResTable &bodies, SavedQueries &queries, Send send)
    : CUrlResTable(db), strings_(strings), bodies_(bodies), queries_(queries), send_(std::move(send)) {}

UrlResRow CAdvUrlResTable::make(uint32_t urlId, uint32_t postId) {
    UrlResRow row;
    const std::string address = strings_.textOf(urlId);
    row.urlId = urlId;
    row.postId = postId;
    row.url = address;
    row.urlHash = urlHash(address);
    row.domain = urlHash(domainKey(address));
    return row;
}

void CAdvUrlResTable::takeReferences(const UrlResRow &row) {
    for (auto field : kStringFields) strings_.addReference(row.*field);
    bodies_.addReference(row.resId);
}

void CAdvUrlResTable::dropReferences(const UrlResRow &row) {
    for (auto field : kStringFields) strings_.release(row.*field);
    bodies_.release(row.resId);
}

void CAdvUrlResTable::moveStringReference(uint32_t stored, uint32_t now) {
    if (stored == now) return;
    strings_.addReference(now);
    strings_.release(stored);
}

uint32_t CAdvUrlResTable::insert(UrlResRow &row) {
    takeReferences(row);
    add(row);
    send_(Event::Inserted, &row, nullptr);
    return row.urlResId;
}

bool CAdvUrlResTable::update(const UrlResRow &row) {
    auto stored = find(int64_t{row.urlResId});
    if (!stored) return false;
    // The reference and run counts belong to their own operations: a copy of
    // the row taken before one of them ran must not undo it.
    UrlResRow written = row;
    written.refCount = stored->refCount;
    written.runCount = stored->runCount;
    for (auto field : kStringFields) moveStringReference((*stored).*field, written.*field);
    if (stored->resId != written.resId) {
        bodies_.addReference(written.resId);
        bodies_.release(stored->resId);
    }
    send_(Event::Changed, &written, &*stored);
    editChanged(written, *stored);
    return true;
}

int64_t CAdvUrlResTable::release(uint32_t id) {
    auto stored = id ? find(int64_t{id}) : std::nullopt;
    if (!stored) return -1;
    if (stored->refCount > 1) {
        --stored->refCount;
        edit(*stored);
        return stored->refCount;
    }
    dropReferences(*stored);
    send_(Event::Deleting, nullptr, &*stored);
    remove(int64_t{id});
    return 0;
}

// The counts are changed by one statement each, not by reading and writing
// the whole row: a crawl changes them for every link it follows.
void CAdvUrlResTable::addReference(uint32_t id) { changeCount(R"("RefCount" = "RefCount" + 1)", id); }

void CAdvUrlResTable::changeRunCount(uint32_t id, bool up) {
    changeCount(up ? R"("RunCount" = "RunCount" + 1)" : R"("RunCount" = max("RunCount" - 1, 0))", id);
}

void CAdvUrlResTable::changeCount(const std::string &assignment, uint32_t id) {
    Statement &s = statement(R"(UPDATE "UrlRes" SET )" + assignment + R"( WHERE "UrlResId" = ?)");
    s.bind(1, int64_t{id});
    s.run();
}

void CAdvUrlResTable::resume(uint32_t id) {
    auto row = find(int64_t{id});
    if (!row) return;
    if (row->runCount == 0 && row->state == ENG_STATE_SUSPENDED) {
        const UrlResRow before = *row;
        row->state = ENG_STATE_QUEUED;
        send_(Event::Changed, &*row, &before);
    }
    ++row->runCount;
    edit(*row);
}

void CAdvUrlResTable::suspend(uint32_t id) {
    auto row = find(int64_t{id});
    if (!row) return;
    const UrlResRow before = *row;
    if (row->runCount > 0) --row->runCount;
    if (before.runCount == 1 && (row->state == ENG_STATE_QUEUED || row->state == ENG_STATE_DOWNLOADING)) {
        row->state = ENG_STATE_SUSPENDED;
        send_(Event::Changed, &*row, &before);
    }
    edit(*row);
}

std::optional<UrlResRow> CAdvUrlResTable::findLatest(uint32_t urlId, uint32_t postId) {
    return seek("UrlRes", {int64_t{urlId}, int64_t{postId}});
}

std::optional<UrlResRow> CAdvUrlResTable::findClosest(uint32_t urlId, uint32_t postId, Date date) {
    std::optional<UrlResRow> after, before;
    // Newest first: the last row at or after the date is the oldest of them.
    for (UrlResRow &row : fetchesOf(urlId, postId)) {
        if (row.doneTime >= date)
            after = std::move(row);
        else if (!before)
            before = std::move(row);
    }
    if (!after || !before) return after ? after : before;
    return after->doneTime - date <= date - before->doneTime ? after : before;
}

uint32_t CAdvUrlResTable::countQueued() {
    Statement &q = queries_.get("Get Queued");
    const uint32_t n = q.step() ? static_cast<uint32_t>(q.integer(0)) : 0;
    q.reset();
    return n;
}

namespace {

// Keys of queued resources in the order of the StatePriority index.
constexpr std::string_view kQueuedKeys =
    "SELECT UrlResId, Priority, Domain FROM UrlRes INDEXED BY \"UrlRes.StatePriority\" WHERE State = 3";
constexpr std::string_view kQueuedOrder = " ORDER BY State, Priority DESC, Domain LIMIT 1";

struct QueuedKey {
    uint32_t id;
    int64_t priority;
    int64_t domain;
};

std::optional<QueuedKey> firstKey(Statement &query) {
    std::optional<QueuedKey> key;
    if (query.step()) key = QueuedKey{static_cast<uint32_t>(query.integer(0)), query.integer(1), query.integer(2)};
    query.reset();
    return key;
}

}  // namespace

std::optional<UrlResRow> CAdvUrlResTable::nextQueued(const std::function<bool(uint32_t domain)> &busy) {
    static const std::string first = std::string(kQueuedKeys) + std::string(kQueuedOrder);
    static const std::string sameLevel =
        std::string(kQueuedKeys) + " AND Priority = ?1 AND Domain > ?2" + std::string(kQueuedOrder);
    static const std::string lowerLevel = std::string(kQueuedKeys) + " AND Priority < ?1" + std::string(kQueuedOrder);
    std::optional<QueuedKey> key = firstKey(statement(first));
    while (key && busy(static_cast<uint32_t>(key->domain))) {
        Statement &next = statement(sameLevel);
        next.bind(1, key->priority);
        next.bind(2, key->domain);
        std::optional<QueuedKey> after = firstKey(next);
        if (!after) {
            Statement &lower = statement(lowerLevel);
            lower.bind(1, key->priority);
            after = firstKey(lower);
        }
        key = after;
    }
    if (!key) return std::nullopt;
    return find(int64_t{key->id});
}

uint32_t CAdvUrlResTable::count(const std::string &sql) {
    Statement s = db_.prepare(sql);
    return s.step() ? static_cast<uint32_t>(s.integer(0)) : 0;
}

std::vector<UrlResRow> CAdvUrlResTable::select(const std::string &sql) {
    Statement s = db_.prepare(sql);
    std::vector<uint32_t> ids;
    while (s.step()) ids.push_back(static_cast<uint32_t>(s.integer(0)));
    std::vector<UrlResRow> out;
    for (uint32_t id : ids)
        if (auto row = find(int64_t{id})) out.push_back(std::move(*row));
    return out;
}

uint32_t CAdvUrlResTable::countErrors(ErrorKind kind, bool runningOnly) {
    return count("SELECT Count(*) As Ctr FROM UrlRes WHERE " + errorCondition(kind) +
                 (runningOnly ? " and RunCount<>0" : ""));
}

std::vector<UrlResRow> CAdvUrlResTable::listErrors(uint32_t task, ErrorKind kind) {
    if (task == 0)
        return select("SELECT UrlRes.UrlResId FROM UrlRes WHERE " + errorCondition(kind) + " and RunCount<>0");
    return select("SELECT UrlRes.UrlResId FROM UrlRes INNER JOIN Items ON UrlRes.UrlResId = Items.UrlResId WHERE " +
                  errorCondition(kind) + " and RunCount<>0 and Items.TaskId = " + std::to_string(task));
}

void CAdvUrlResTable::setAllStates(uint32_t from, uint32_t to) {
    Statement &q = queries_.get("UrlRes Set State");
    SavedQueries::bind(q, "[NEW_STATE]", to);
    SavedQueries::bind(q, "[OLD_STATE]", from);
    q.run();
}

UrlResRow CAdvUrlResTable::obtainForCrawl(uint32_t urlId, uint32_t postId, double acceptableAgeDays, int32_t priority,
                                          uint32_t state, uint32_t userAgentId) {
    const Date today = now();
    if (acceptableAgeDays != 0) {
        // A fetch still waiting or running is the one to share: rows not yet
        // done sort last by date, so they are looked for before the latest.
        const std::vector<UrlResRow> fetches = fetchesOf(urlId, postId);
        for (const UrlResRow &row : fetches)
            if (!row.error && (row.state == ENG_STATE_QUEUED || row.state == ENG_STATE_DOWNLOADING)) return row;
        if (!fetches.empty() && !fetches.front().error && fetches.front().doneTime >= today - acceptableAgeDays)
            return fetches.front();
    }
    UrlResRow row = make(urlId, postId);
    row.priority = priority;
    row.state = state;
    row.userAgentId = userAgentId;
    auto source = findClosest(urlId, postId, today);
    if (source && source->state == ENG_STATE_DONE && !source->error && source->lastModified != 0) {
        row.tag = source->urlResId;
        row.lastModified = source->lastModified;
        addReference(source->urlResId);
    }
    insert(row);
    return row;
}

void CAdvUrlResTable::reset(UrlResRow &row, bool forced) {
    row.state = ENG_STATE_QUEUED;
    const bool resumable =
        !forced && row.contentLength != row.size &&
        (row.statusCode == 206 || (row.error && (row.statusCode == 200 || row.statusCode == kStatusUnchanged)));
    if (!resumable) {
        row.size = 0;
        row.resId = 0;
        row.contentLength = 0;
        row.statusCode = 0;
        row.contentType.clear();
        row.server.clear();
        row.httpVersion.clear();
        row.type = 0;
    }
    row.lastModified = 0;
    row.lastError = 0;
    row.error = false;
    row.tcpError = false;
    row.redirectUrlId = 0;
    row.doneTime = 0;
    --row.priority;
    ++row.retries;
    if (row.resId == 0) row.title.clear();
}

}  // namespace eng
