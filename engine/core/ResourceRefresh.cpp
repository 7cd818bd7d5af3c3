#include "core/ResourceRefresh.h"

#include "core/CAdvTasksTable.h"
#include "core/Engine.h"
#include "engine.h"

namespace eng {

bool refreshResource(Engine &engine, uint32_t urlResId, bool forced) {
    ProjectTables &t = engine.tables();
    auto stored = t.urlRes.find(int64_t{urlResId});
    if (!stored || stored->state != ENG_STATE_DONE || (!forced && !stored->error) || stored->runCount == 0)
        return false;
    for (const ItemRow &item : t.items.withUrlRes(urlResId)) {
        if (auto task = engine.tasks().load(item.taskId)) {
            engine.tasks().resourceRequeued(*task, item, *stored);
            engine.tasks().save(*task);
        }
    }
    UrlResRow resource = *stored;
    CAdvUrlResTable::reset(resource, false);
    resource.retries = 0;
    t.urlRes.update(resource);
    return true;
}

}  // namespace eng
