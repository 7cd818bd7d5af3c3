#include "export/TaskResources.h"

#include "engine.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

constexpr int kMaxRedirects = 8;

}  // namespace

std::string followRedirects(const RedirectMap &redirects, const std::string &address) {
    std::string at = address;
    for (int step = 0; step < kMaxRedirects; ++step) {
        const auto next = redirects.find(at);
        if (next == redirects.end()) break;
        at = next->second;
    }
    return at;
}

TaskResources collectTaskResources(ProjectTables &tables, const std::vector<ItemRow> &items,
                                   const ExportProgressSink &progress) {
    const auto count = static_cast<uint32_t>(items.size());
    progress({ExportProgress::Collecting, count, 0});
    const ThrottledProgress collected(progress, ExportProgress::Collecting, count);
    TaskResources out;
    for (const ItemRow &item : items) {
        const auto resource = tables.urlRes.find(int64_t{item.urlResId});
        if (!resource || resource->state != ENG_STATE_DONE || resource->error) continue;
        std::string address = tables.strings.textOf(resource->urlId);
        if (resource->redirectUrlId != 0) {
            out.redirects[std::move(address)] = tables.strings.textOf(resource->redirectUrlId);
        } else if (resource->resId != 0) {
            out.resources.push_back({std::move(address), resource->resId, resource->type});
            collected.report(static_cast<uint32_t>(out.resources.size()));
        }
    }
    return out;
}

}  // namespace eng
