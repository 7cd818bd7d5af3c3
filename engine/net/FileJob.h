#pragma once

#include <atomic>

#include "net/DownloadJob.h"

namespace eng {

// One retrieval of a local file (a file:// address). It opens nothing that an
// abort could close: an abort raises a stop flag that the reading loop heeds,
// and the job posts its own end.
class FileJob : public DownloadJob {
public:
    using DownloadJob::DownloadJob;

    // Files up to this size are read in one piece; larger ones in chunks of it.
    static constexpr uint32_t kPieceSize = 307200;

    bool abort(uint32_t reason) override;

protected:
    bool openSession() override { return true; }
    void run() override;

private:
    void readFile(int descriptor);

    std::atomic<bool> stop_{false};
};

}  // namespace eng
