#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "export/ExportProgress.h"
#include "export/ExportTree.h"
#include "store/CItemsTable.h"

namespace eng {

struct ProjectTables;

// Address -> the location it redirected to, for every exported redirect.
using RedirectMap = std::unordered_map<std::string, std::string>;

// Where an address leads once its stored redirects are followed, at most
// eight of them (a loop ends there).
std::string followRedirects(const RedirectMap &redirects, const std::string &address);

// What a task export writes: the task's retrieved resources that have a
// body, in the order of its items, and its redirects.
struct TaskResources {
    std::vector<ExportResource> resources;
    RedirectMap redirects;
};

// Takes the URL resource of every item of a task that was retrieved without
// an error: a redirect goes to the map, anything else with a stored body to
// the list. Reports each resource taken (phase Collecting, of the item count).
TaskResources collectTaskResources(ProjectTables &tables, const std::vector<ItemRow> &items,
                                   const ExportProgressSink &progress);

}  // namespace eng
