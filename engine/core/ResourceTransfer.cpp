#include "core/ResourceTransfer.h"

#include <algorithm>

#include "store/UrlResArchive.h"

namespace eng {

void storeResources(ProjectTables &t, ArchiveWriter &resources, ArchiveWriter &bodies,
                    const std::vector<uint32_t> &ids) {
    UrlResArchive archive(t.strings);
    std::vector<std::pair<uint32_t, std::string>> usedBodies;
    for (uint32_t id : ids) {
        auto row = t.urlRes.find(int64_t{id});
        if (!row) throw CEngineException("UrlRes table  searialization error!");
        archive.write(resources, *row);
        const bool known = std::any_of(usedBodies.begin(), usedBodies.end(),
                                       [&](const auto &body) { return body.first == row->resId; });
        // A body is archived under its resource's address: the page's
        // relative links are found again against it when it is loaded.
        if (row->resId && !known) usedBodies.emplace_back(row->resId, t.strings.textOf(row->urlId));
    }
    t.res.writeArchive(bodies, usedBodies);
    resources.finish();
    bodies.finish();
}

// Bodies first, so that each resource can point to its body's new key.
std::map<uint32_t, uint32_t> loadResources(ProjectTables &t, ArchiveReader &resources, ArchiveReader &bodies) {
    const std::map<uint32_t, uint32_t> bodyKeys = t.res.readArchive(bodies);
    UrlResArchive archive(t.strings);
    std::map<uint32_t, uint32_t> ids;
    while (resources.nextRecord()) {
        UrlResRow row = archive.read(resources);
        auto body = bodyKeys.find(row.resId);
        row.resId = body == bodyKeys.end() ? 0 : body->second;
        const uint32_t oldId = row.urlResId;
        row.urlResId = 0;
        ids[oldId] = t.urlRes.insert(row);
    }
    return ids;
}

}  // namespace eng
