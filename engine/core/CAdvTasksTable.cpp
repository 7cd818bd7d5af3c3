#include "core/CAdvTasksTable.h"

#include <algorithm>

#include "core/LocalFiles.h"
#include "engine.h"

namespace eng {

namespace {

constexpr uint32_t kLowGraphicsPenalty = 100;
// Link kinds of images and image-like inputs, fetched last for low-graphics tasks.
constexpr uint32_t kImageKinds[] = {ENG_LINK_IMAGE, ENG_LINK_BACKGROUND, ENG_LINK_TABLE_BACKGROUND,
                                    ENG_LINK_INPUT_IMAGE};

constexpr uint32_t TaskRow::*kTaskStrings[] = {&TaskRow::urlId,    &TaskRow::postId, &TaskRow::userAgentId,
                                               &TaskRow::filterId, &TaskRow::noteId, &TaskRow::referer};

bool pending(uint32_t state) {
    return state == ENG_STATE_QUEUED || state == ENG_STATE_DOWNLOADING || state == ENG_STATE_SUSPENDED;
}

uint32_t errorFlags(const UrlResRow &r) { return (r.error ? 1u : 0u) + (r.tcpError ? 0x10000u : 0u); }

}  // namespace

CAdvTasksTable::CAdvTasksTable(ProjectTables &tables, Hooks hooks) : t_(tables), hooks_(std::move(hooks)) {}

void CAdvTasksTable::moveReference(uint32_t stored, uint32_t now) {
    if (stored == now) return;
    t_.strings.addReference(now);
    t_.strings.release(stored);
}

uint32_t CAdvTasksTable::insert(TaskRow &task) {
    if (task.state == 0) task.state = ENG_TASK_ACTIVE;
    task.created = now();
    for (auto field : kTaskStrings) t_.strings.addReference(task.*field);
    t_.tasks.add(task);
    hooks_.announce(task, true);
    return task.taskId;
}

bool CAdvTasksTable::save(TaskRow &task) {
    const bool held = task.taskId == heldTask_;
    auto stored = held ? std::nullopt : load(task.taskId);
    if (!held && !stored) return false;
    if (task.queued > 0 && task.state == ENG_TASK_COMPLETE) task.state = ENG_TASK_ACTIVE;
    if (held) return true;
    t_.tasks.edit(task);
    runChangeHooks(task, *stored);
    hooks_.announce(task, false);
    return true;
}

void CAdvTasksTable::runChangeHooks(TaskRow &task, const TaskRow &stored) {
    if (task.levels > stored.levels && hooks_.followLinks)
        for (const ItemRow &item : t_.items.atLevel(task.taskId, static_cast<int16_t>(stored.levels)))
            if (item.urlResId) hooks_.followLinks(task, item);
    if (task.levels < stored.levels) dropQueuedItemsBelow(task, task.levels);
    const bool stopping = stored.state == ENG_TASK_ACTIVE && task.state == ENG_TASK_STOPPED;
    const bool starting =
        stored.state == ENG_TASK_STOPPED && (task.state == ENG_TASK_ACTIVE || task.state == ENG_TASK_COMPLETE);
    if (stopping || starting)
        for (const ItemRow &item : t_.items.ofTask(task.taskId)) {
            if (!item.urlResId) continue;
            if (stopping)
                t_.urlRes.suspend(item.urlResId);
            else
                t_.urlRes.resume(item.urlResId);
        }
    for (auto field : kTaskStrings) moveReference(stored.*field, task.*field);
    if (task.filterId != stored.filterId) reevaluateFilter(task);
}

std::vector<ItemRow> CAdvTasksTable::queuedItems(uint32_t task) {
    std::vector<ItemRow> out;
    for (ItemRow &item : t_.items.ofTask(task)) {
        if (!item.urlResId) continue;
        auto resource = t_.urlRes.find(int64_t{item.urlResId});
        if (resource && (resource->state == ENG_STATE_QUEUED || resource->state == ENG_STATE_SUSPENDED))
            out.push_back(item);
    }
    return out;
}

// A shallower depth drops the queued items that now lie too deep; those
// within the new depth stay queued.
void CAdvTasksTable::dropQueuedItemsBelow(TaskRow &task, uint32_t depth) {
    uint32_t dropped = 0;
    for (const ItemRow &item : queuedItems(task.taskId)) {
        if (item.level <= static_cast<int32_t>(depth)) continue;
        t_.items.deleteItem(item, task.state);
        ++dropped;
    }
    if (dropped == 0) return;
    task.queued -= std::min(task.queued, dropped);
    if (task.queued == 0) task.state = ENG_TASK_COMPLETE;
    save(task);
}

void CAdvTasksTable::reevaluateFilter(TaskRow &task) {
    uint32_t cleared = 0;
    for (ItemRow item : queuedItems(task.taskId)) {
        if (item.itemId == task.mainItemId || accepts(task, item.urlId, item.tag)) continue;
        item.urlResId = 0;
        t_.items.updateItem(item);
        ++cleared;
    }
    for (ItemRow &item : t_.items.ofTask(task.taskId)) {
        if (item.urlResId || !accepts(task, item.urlId, item.tag)) continue;
        UrlResRow resource = attachResource(task, item);
        itemAdded(task, item, resource, nullptr);
        save(task);
    }
    if (cleared == 0) return;
    task.queued -= std::min(task.queued, cleared);
    if (task.queued == 0) task.state = ENG_TASK_COMPLETE;
    save(task);
}

const Filter &CAdvTasksTable::filterOf(const TaskRow &task) {
    const std::string text = t_.strings.textOf(task.filterId) + hooks_.projectFilter();
    auto cached = filters_.find(task.taskId);
    if (cached == filters_.end() || cached->second.text != text) {
        CachedFilter built{text, Filter()};
        built.filter.parse(text);
        built.filter.compile();
        cached = filters_.insert_or_assign(task.taskId, std::move(built)).first;
    }
    return cached->second.filter;
}

bool CAdvTasksTable::accepts(const TaskRow &task, uint32_t urlId, uint32_t tag) {
    const std::string address = t_.strings.textOf(urlId);
    return mayTakeAddress(t_.strings.textOf(task.urlId), address) && filterOf(task).accept(address, tag);
}

ItemRow CAdvTasksTable::addItem(TaskRow &task, uint32_t urlId, uint32_t postId, int16_t level, uint32_t tag,
                                const ItemRow *parent, bool applyFilter) {
    ItemRow item = CItemsTable::make(task.taskId, urlId, postId, level, tag);
    if (applyFilter && !accepts(task, urlId, tag)) {
        t_.items.addItem(item);
        return item;
    }
    UrlResRow resource = attachResource(task, item);
    itemAdded(task, item, resource, parent);
    save(task);
    if (resource.state == ENG_STATE_DONE) {
        resourceDone(task, item, resource);
        if (hooks_.followLinks) hooks_.followLinks(task, item);
        resourceCounted(task, resource);
        save(task);
    }
    return item;
}

UrlResRow CAdvTasksTable::attachResource(TaskRow &task, ItemRow &item) {
    int32_t priority = -item.level;
    if (task.lowGraphics && std::count(std::begin(kImageKinds), std::end(kImageKinds), item.tag))
        priority -= kLowGraphicsPenalty;
    const uint32_t state = task.state == ENG_TASK_STOPPED ? ENG_STATE_SUSPENDED : ENG_STATE_QUEUED;
    UrlResRow resource =
        t_.urlRes.obtainForCrawl(item.urlId, item.postId, task.acceptableAge, priority, state, task.userAgentId);
    if (task.state != ENG_TASK_STOPPED) {
        if (resource.state == ENG_STATE_SUSPENDED)
            t_.urlRes.resume(resource.urlResId);
        else
            t_.urlRes.changeRunCount(resource.urlResId, true);
    }
    item.urlResId = resource.urlResId;
    if (item.itemId)
        t_.items.updateItem(item);
    else
        t_.items.addItem(item);
    resource = *t_.urlRes.find(int64_t{resource.urlResId});
    hooks_.itemGotResource(item, resource);
    return resource;
}

void CAdvTasksTable::itemAdded(TaskRow &task, const ItemRow &item, UrlResRow &resource, const ItemRow *parent) {
    ++task.queued;
    if (task.state == ENG_TASK_COMPLETE) task.state = ENG_TASK_ACTIVE;
    if (task.mainItemId == 0) task.mainItemId = item.itemId;
    resource.referer = parent ? parent->urlId : task.referer;
    if (item.itemId != task.mainItemId)
        if (auto limits = filterOf(task).sizeLimits(t_.strings.textOf(item.urlId), item.tag)) {
            resource.minSize = limits->minSize;
            resource.maxSize = limits->maxSize;
        }
    t_.urlRes.update(resource);
}

void CAdvTasksTable::resourceDone(TaskRow &task, const ItemRow &item, const UrlResRow &resource) {
    if (item.itemId == task.mainItemId) {
        if (resource.redirectUrlId) {
            // The page moved: the next item added, its target, becomes the main item.
            task.mainItemId = 0;
        } else {
            task.error = resource.error;
            task.errCode = resource.lastError;
            if (task.autoName) task.name = resource.title;
            task.contentType = resource.contentType;
            task.type = resource.type;
            task.statusCode = resource.statusCode;
            if (task.redirectUrl && task.urlId != item.urlId) task.urlId = item.urlId;
        }
    }
    task.errFiles += errorFlags(resource);
    task.size += resource.size;
}

void CAdvTasksTable::resourceCounted(TaskRow &task, const UrlResRow &resource) {
    if (resource.state != ENG_STATE_DONE) return;
    task.queued -= std::min(task.queued, 1u);
    ++task.retrieved;
    task.done = now();
    if (task.queued == 0) task.state = ENG_TASK_COMPLETE;
}

void CAdvTasksTable::itemRemoved(TaskRow &task, const ItemRow &, const UrlResRow &resource) {
    if (pending(resource.state)) task.queued -= std::min(task.queued, 1u);
    if (resource.state == ENG_STATE_DONE) task.retrieved -= std::min(task.retrieved, 1u);
    if (task.queued == 0) task.state = ENG_TASK_COMPLETE;
    task.errFiles -= std::min(task.errFiles, errorFlags(resource));
    task.size -= std::min(task.size, resource.size);
}

void CAdvTasksTable::resourceRequeued(TaskRow &task, const ItemRow &item, const UrlResRow &resource) {
    if (task.state == ENG_TASK_COMPLETE) task.state = ENG_TASK_ACTIVE;
    if (item.itemId == task.mainItemId) {
        task.error = false;
        task.errCode = 0;
        if (task.autoName) task.name.clear();
    }
    task.size -= std::min(task.size, resource.size);
    task.errFiles -= std::min(task.errFiles, errorFlags(resource));
    ++task.queued;
    task.retrieved -= std::min(task.retrieved, 1u);
}

std::vector<CAdvTasksTable::Candidate> CAdvTasksTable::linkingItems(uint32_t urlId, uint32_t postId) {
    Statement &query = t_.queries.get("Select Linked By");
    SavedQueries::bind(query, "[URLID_PARAM]", urlId);
    SavedQueries::bind(query, "[POSTID_PARAM]", postId);
    std::vector<std::pair<uint32_t, uint8_t>> pages;  // (URL resource, relation)
    const int relationColumn = query.columnCount() - 1;
    while (query.step())
        if (!query.isNull(0))
            pages.emplace_back(static_cast<uint32_t>(query.integer(0)),
                               static_cast<uint8_t>(query.integer(relationColumn)));
    query.reset();
    std::vector<Candidate> candidates;
    for (auto [page, relation] : pages)
        for (ItemRow &item : t_.items.withUrlRes(page)) candidates.push_back({std::move(item), relation});
    return candidates;
}

std::optional<UrlResRow> CAdvTasksTable::addThroughParent(TaskRow &task, const Candidate &parent, uint32_t urlId,
                                                          uint32_t postId) {
    auto existing = t_.items.inTask(task.taskId, urlId, postId);
    if (!existing) {
        // A plain link leads one level deeper; an embedded object stays at its page's level.
        const auto level = static_cast<int16_t>(parent.item.level + (parent.relation == ENG_LINK_HYPERLINK ? 1 : 0));
        ItemRow item = addItem(task, urlId, postId, level, parent.relation, &parent.item, true);
        if (!item.urlResId) return std::nullopt;
        return t_.urlRes.find(int64_t{item.urlResId});
    }
    // An item the filter refused may be fetched now; a local file stays refused.
    if (existing->urlResId || !mayTakeAddress(t_.strings.textOf(task.urlId), t_.strings.textOf(urlId)))
        return std::nullopt;
    UrlResRow resource = attachResource(task, *existing);
    itemAdded(task, *existing, resource, &parent.item);
    save(task);
    return t_.urlRes.find(int64_t{resource.urlResId});
}

std::optional<UrlResRow> CAdvTasksTable::addAsNewTask(uint32_t urlId, uint32_t postId, uint32_t folder) {
    constexpr double kKeepStoredCopies = 36000;  // days: a stored copy is always good enough
    TaskRow task;
    task.urlId = urlId;
    task.postId = postId;
    task.folderId = folder;
    task.redirectUrl = true;
    task.acceptableAge = kKeepStoredCopies;
    task.autoName = true;
    insert(task);
    ItemRow item = addItem(task, urlId, postId, 0, 0, nullptr, false);
    return t_.urlRes.find(int64_t{item.urlResId});
}

std::optional<UrlResRow> CAdvTasksTable::addAddress(uint32_t taskId, uint32_t urlId, uint32_t postId, uint32_t folder,
                                                    bool running) {
    std::vector<Candidate> candidates = linkingItems(urlId, postId);
    if (taskId) std::erase_if(candidates, [&](const Candidate &c) { return c.item.taskId != taskId; });
    std::optional<UrlResRow> result;
    bool attempted = false;
    while (!candidates.empty()) {
        const uint32_t chosen = taskId ? taskId : candidates.front().item.taskId;
        auto parent =
            std::min_element(candidates.begin(), candidates.end(), [&](const Candidate &a, const Candidate &b) {
                if ((a.item.taskId == chosen) != (b.item.taskId == chosen)) return a.item.taskId == chosen;
                return a.item.level < b.item.level;
            });
        if (auto task = load(chosen)) {
            attempted = true;
            if (auto resource = addThroughParent(*task, *parent, urlId, postId)) result = resource;
        }
        if (taskId) break;
        std::erase_if(candidates, [&](const Candidate &c) { return c.item.taskId == chosen; });
    }
    if (!attempted) result = addAsNewTask(urlId, postId, folder);
    if (result && !running && result->runCount == 0) {
        result->state = ENG_STATE_SUSPENDED;
        t_.urlRes.update(*result);
    }
    return result;
}

bool CAdvTasksTable::restart(TaskRow &task) {
    const std::vector<ItemRow> items = t_.items.ofTask(task.taskId);
    if (items.empty()) return false;
    for (const ItemRow &item : items) t_.items.deleteItem(item, task.state);
    task.queued = task.retrieved = task.size = task.errCode = task.errFiles = task.mainItemId = 0;
    task.statusCode = 0;
    task.type = 0;
    if (task.autoName) task.name.clear();
    // A stopped task (whose address was changed) gets its start item as a
    // stopped task: the save that follows resumes its resource as it resumes
    // every resource of a task that starts again, so it is counted once.
    if (task.state != ENG_TASK_STOPPED) task.state = ENG_TASK_ACTIVE;
    addItem(task, task.urlId, task.postId, 0, 0, nullptr, false);
    task.state = ENG_TASK_ACTIVE;
    return true;
}

void CAdvTasksTable::remove(const TaskRow &task) {
    for (const ItemRow &item : t_.items.ofTask(task.taskId)) t_.items.deleteItem(item, task.state);
    for (auto field : kTaskStrings) t_.strings.release(task.*field);
    t_.tasks.remove(int64_t{task.taskId});
    filters_.erase(task.taskId);
}

}  // namespace eng
