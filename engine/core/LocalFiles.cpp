#include "core/LocalFiles.h"

#include "base/AsciiText.h"

namespace eng {

bool isFileAddress(std::string_view address) { return startsWithNoCase(address, "file:"); }

bool mayTakeAddress(std::string_view taskStart, std::string_view address) {
    return !isFileAddress(address) || isFileAddress(taskStart);
}

bool mayFetch(ProjectTables &t, const UrlResRow &resource, std::string_view address) {
    if (!isFileAddress(address)) return true;
    for (const ItemRow &item : t.items.withUrlRes(resource.urlResId))
        if (auto task = t.tasks.find(int64_t{item.taskId}); task && isFileAddress(t.strings.textOf(task->urlId)))
            return true;
    return false;
}

}  // namespace eng
