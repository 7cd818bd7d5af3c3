#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "filters/Filter.h"
#include "store/ProjectTables.h"

namespace eng {

// The tasks with their crawl operations: inserting and saving with the change
// hooks, adding items with their URL resources, and the counters that follow
// the items' resources.
class CAdvTasksTable {
public:
    static constexpr uint32_t kMaxDepth = 255;

    // What the tasks need from the engine around them.
    struct Hooks {
        // A task was added (true) or changed (false).
        std::function<void(const TaskRow &, bool added)> announce;
        // An item got a URL resource.
        std::function<void(const ItemRow &, const UrlResRow &)> itemGotResource;
        // The project's own filter text, which every task's filter ends with.
        std::function<std::string()> projectFilter;
        // Follows the links of a fetched item's page one level deeper; set by
        // the crawl, nothing before it runs.
        std::function<void(TaskRow &, const ItemRow &)> followLinks;
    };

    CAdvTasksTable(ProjectTables &tables, Hooks hooks);

    std::optional<TaskRow> load(uint32_t id) { return t_.tasks.find(int64_t{id}); }
    // Adds the task with its string references and announces it; returns its id.
    uint32_t insert(TaskRow &task);
    // Writes the task, runs the change hooks against the stored version and
    // announces it; false when it has no row. While the task's saves are
    // held, nothing is written.
    bool save(TaskRow &task);
    // Holds the saves of one task while it lives, so that following a page's
    // links writes and announces the task once, with the page's final counts,
    // instead of once per link: its owner saves the task when it ends.
    class HeldSaves {
    public:
        HeldSaves(CAdvTasksTable &tasks, uint32_t taskId) : tasks_(tasks), outer_(tasks.heldTask_) {
            tasks.heldTask_ = taskId;
        }
        HeldSaves(const HeldSaves &) = delete;
        HeldSaves &operator=(const HeldSaves &) = delete;
        ~HeldSaves() { tasks_.heldTask_ = outer_; }

    private:
        CAdvTasksTable &tasks_;
        uint32_t outer_;
    };
    // Deletes the task, its items and its string references.
    void remove(const TaskRow &task);

    // Adds an item for an address, with a URL resource unless the task
    // (when its filter applies) does not accept it; returns the item.
    ItemRow addItem(TaskRow &task, uint32_t urlId, uint32_t postId, int16_t level, uint32_t tag, const ItemRow *parent,
                    bool applyFilter);
    // Obtains and attaches a URL resource for an item that has none.
    UrlResRow attachResource(TaskRow &task, ItemRow &item);

    // Counters of a task, applied to the object (saved by the caller).
    void itemAdded(TaskRow &task, const ItemRow &item, UrlResRow &resource, const ItemRow *parent);
    void resourceDone(TaskRow &task, const ItemRow &item, const UrlResRow &resource);
    void resourceCounted(TaskRow &task, const UrlResRow &resource);
    void itemRemoved(TaskRow &task, const ItemRow &item, const UrlResRow &resource);
    void resourceRequeued(TaskRow &task, const ItemRow &item, const UrlResRow &resource);

    // Puts an address into the crawl: into the tasks whose fetched pages link
    // to it (or only the given task), else into a new task of its own in the
    // folder given. Returns the URL resource that resulted, if any.
    std::optional<UrlResRow> addAddress(uint32_t taskId, uint32_t urlId, uint32_t postId, uint32_t folder,
                                        bool running);

    // Deletes every item and adds the start item again; false when there were none.
    bool restart(TaskRow &task);
    // The task's filter followed by the project's, compiled on first use.
    const Filter &filterOf(const TaskRow &task);
    // The task takes a found address: its filter accepts it, and it is no
    // local file unless the task starts at one.
    bool accepts(const TaskRow &task, uint32_t urlId, uint32_t tag);

private:
    void runChangeHooks(TaskRow &task, const TaskRow &stored);
    void dropQueuedItemsBelow(TaskRow &task, uint32_t depth);
    void reevaluateFilter(TaskRow &task);
    std::vector<ItemRow> queuedItems(uint32_t task);
    void moveReference(uint32_t stored, uint32_t now);
    struct Candidate {
        ItemRow item;
        uint8_t relation;
    };
    std::vector<Candidate> linkingItems(uint32_t urlId, uint32_t postId);
    std::optional<UrlResRow> addThroughParent(TaskRow &task, const Candidate &parent, uint32_t urlId, uint32_t postId);
    std::optional<UrlResRow> addAsNewTask(uint32_t urlId, uint32_t postId, uint32_t folder);

    struct CachedFilter {
        std::string text;
        Filter filter;
    };

    ProjectTables &t_;
    Hooks hooks_;
    std::map<uint32_t, CachedFilter> filters_;
    uint32_t heldTask_ = 0;  // the task whose saves are held, or 0
};

}  // namespace eng
