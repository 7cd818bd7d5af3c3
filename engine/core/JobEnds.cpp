#include "core/JobEnds.h"

#include "core/Messages.h"
#include "sys/MessageQueue.h"

namespace eng {

JobEnded postedTo(std::shared_ptr<MessageQueue> queue) {
    return [queue = std::move(queue)](DownloadJob &job, bool aborted) {
        queue->post({msg::kDownloadDone, aborted ? 1u : 0u, reinterpret_cast<intptr_t>(&job)});
    };
}

}  // namespace eng
