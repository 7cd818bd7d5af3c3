#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <set>

#include "engine.h"

namespace lark {

// What a running crawl shows: the engine's statistics and its running
// downloads, as one line that a terminal rewrites in place, or as a plain
// line now and then for a log.
class CrawlProgress {
public:
    CrawlProgress(std::ostream &out, bool terminal);

    void statistics(const EngStatisticsRecord &record);
    void download(const EngDownloadProgressRecord &record);

    // The engine has said how many resources wait (it does at once).
    bool countsKnown() const { return countsKnown_; }
    uint32_t queued() const { return last_.queued; }
    // Shows the line when it is time to.
    void show();
    // The last line, ended.
    void finish(const char *outcome);

private:
    std::string line() const;

    using Clock = std::chrono::steady_clock;
    std::ostream &out_;
    bool terminal_;
    bool countsKnown_ = false;
    EngStatisticsRecord last_{};
    std::set<uint32_t> running_;
    Clock::time_point shown_{};
    size_t shownWidth_ = 0;
};

}  // namespace lark
