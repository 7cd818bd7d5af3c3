#include "CrawlProgress.h"

#include <ostream>
#include <string>

#include "QuantityText.h"

namespace lark {

namespace {

constexpr auto kTerminalPeriod = std::chrono::milliseconds(500);
constexpr auto kLogPeriod = std::chrono::seconds(10);

}  // namespace

CrawlProgress::CrawlProgress(std::ostream &out, bool terminal) : out_(out), terminal_(terminal) {}

void CrawlProgress::statistics(const EngStatisticsRecord &record) {
    last_ = record;
    countsKnown_ = true;
}

void CrawlProgress::download(const EngDownloadProgressRecord &record) {
    if (record.state == ENG_DOWNLOAD_FINISHED || record.state == ENG_DOWNLOAD_NO_THREAD)
        running_.erase(record.urlResId);
    else
        running_.insert(record.urlResId);
}

std::string CrawlProgress::line() const {
    return "done " + std::to_string(last_.done) + "  queued " + std::to_string(last_.queued) + "  errors " +
           std::to_string(last_.errors) + "  running " + std::to_string(running_.size()) + "  " +
           sizeText(last_.bytesReceived) + "  " + sizeText(last_.averageSpeed) + "/s  " +
           durationText(last_.elapsedTime);
}

void CrawlProgress::show() {
    const auto now = Clock::now();
    if (now - shown_ < (terminal_ ? kTerminalPeriod : kLogPeriod)) return;
    shown_ = now;
    const std::string text = line();
    if (terminal_) {
        // Rewrites the line in place, blanking what a longer line left.
        out_ << '\r' << text << std::string(shownWidth_ > text.size() ? shownWidth_ - text.size() : 0, ' ');
        shownWidth_ = text.size();
        out_.flush();
    } else {
        out_ << text << std::endl;
    }
}

void CrawlProgress::finish(const char *outcome) {
    if (terminal_ && shownWidth_ != 0) out_ << '\r' << std::string(shownWidth_, ' ') << '\r';
    out_ << outcome << ": " << line() << std::endl;
}

}  // namespace lark
