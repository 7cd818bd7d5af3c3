#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "base/DateTime.h"
#include "store/CResTable.h"
#include "store/CStrTable.h"
#include "store/CUrlResTable.h"
#include "store/SavedQueries.h"

namespace eng {

// Which failed resources an error count or list takes.
enum class ErrorKind : int {
    ServerErrors = 1,   // Error without TcpError
    NetworkErrors = 2,  // TcpError
    AllErrors = 3,      // Error
};

// The URL resources with their crawl operations. Every row holds a reference
// on its strings and its body; inserting, changing and deleting a row is
// announced to the engine (which keeps the counters and tells the
// application) through the send function, with the new and the stored row.
class CAdvUrlResTable : public CUrlResTable {
public:
    enum class Event { Inserted, Changed, Deleting };
    // (event, new row or null, stored row or null)
    using Send = std::function<void(Event, const UrlResRow *, const UrlResRow *)>;

    CAdvUrlResTable(Database &db, CStrTable &strings, CResTable &bodies, SavedQueries &queries, Send send);

    // Adds the row with its references; returns the new id (also set in the row).
    uint32_t insert(UrlResRow &row);
    // Rewrites a stored row, moving references that changed; false when it is
    // missing. The stored reference and run counts are kept.
    bool update(const UrlResRow &row);
    // Drops one reference; at the last the row goes. -1 for id 0 or a missing row.
    int64_t release(uint32_t id);
    void addReference(uint32_t id);
    void changeRunCount(uint32_t id, bool up);
    // A task that contains the resource was started again / stopped.
    void resume(uint32_t id);
    void suspend(uint32_t id);

    std::optional<UrlResRow> findByHash(uint32_t urlHash) { return seek("Hash", {int64_t{urlHash}}); }
    std::optional<UrlResRow> findLatest(uint32_t urlId, uint32_t postId);
    // The fetch done nearest to the date; on a tie the one at or after it.
    std::optional<UrlResRow> findClosest(uint32_t urlId, uint32_t postId, Date date);
    uint32_t countQueued();
    uint32_t countErrors(ErrorKind kind, bool runningOnly);
    // Failed resources of running tasks, of one task when a task id is given.
    std::vector<UrlResRow> listErrors(uint32_t task, ErrorKind kind);
    void setAllStates(uint32_t from, uint32_t to);

    // The resource a task item needs: a fresh enough stored or queued fetch of
    // the address, or a new queued one (revalidating the closest earlier fetch).
    UrlResRow obtainForCrawl(uint32_t urlId, uint32_t postId, double acceptableAgeDays, int32_t priority,
                             uint32_t state, uint32_t userAgentId);
    // The queued resource to download next: the highest priority first; among
    // equal priorities the lowest site key whose host is not busy. A busy
    // host's other queued rows at that priority are passed over in one seek.
    std::optional<UrlResRow> nextQueued(const std::function<bool(uint32_t domain)> &busy);

    // Puts a fetched resource back in the queue (not written).
    static void reset(UrlResRow &row, bool forced);

    // A new, unsaved resource for an address key, with its hash and site key.
    UrlResRow make(uint32_t urlId, uint32_t postId);

private:
    // Runs "UPDATE UrlRes SET <assignment>" on the row with the id.
    void changeCount(const std::string &assignment, uint32_t id);
    // Moves one reference from a stored key to a new one.
    void moveStringReference(uint32_t stored, uint32_t now);
    void takeReferences(const UrlResRow &row);
    void dropReferences(const UrlResRow &row);
    std::vector<UrlResRow> select(const std::string &sql);
    uint32_t count(const std::string &sql);

    CStrTable &strings_;
    CResTable &bodies_;
    SavedQueries &queries_;
    Send send_;
};

}  // namespace eng
