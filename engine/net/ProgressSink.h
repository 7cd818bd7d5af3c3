#pragma once

namespace eng {

struct DownloadRecord;

// Where a running download reports its record: at its start, when the
// response head is in, after each chunk and at its end. Called on the engine
// thread and on the download's worker thread.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;
    virtual void report(const DownloadRecord &record) = 0;
};

}  // namespace eng
