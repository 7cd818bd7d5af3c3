#pragma once

#include <memory>

#include "net/DownloadJob.h"

namespace eng {

class MessageQueue;

// Reports a job's end as the download-done message on the engine thread's
// queue: the job as lParam, wParam 1 when it had been aborted. The queue is
// shared so that a job whose worker outlives the project still has somewhere
// to post its end.
JobEnded postedTo(std::shared_ptr<MessageQueue> queue);

}  // namespace eng
