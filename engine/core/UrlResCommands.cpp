// Commands on URL resources that stand on their own.
#include <memory>

#include "api/ArchiveReader.h"
#include "api/ArchiveWriter.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "store/ProjectTables.h"
#include "store/UrlResArchive.h"
#include "sys/EngineException.h"

namespace eng {

namespace {

void storeResources(ProjectTables &t, ArchiveWriter &resources, ArchiveWriter &bodies,
                    const std::vector<uint32_t> &ids) {
    UrlResArchive archive(t.strings);
    std::vector<std::pair<uint32_t, std::string>> usedBodies;
    for (uint32_t id : ids) {
        auto row = t.urlRes.find(int64_t{id});
        if (!row) throw CEngineException("UrlRes table  searialization error!");
        archive.write(resources, *row);
        if (row->resId) usedBodies.emplace_back(row->resId, "");
    }
    t.res.writeArchive(bodies, usedBodies);
    resources.finish();
    bodies.finish();
}

// Bodies first, so that each resource can point to its body's new key.
void loadResources(ProjectTables &t, ArchiveReader &resources, ArchiveReader &bodies) {
    const std::map<uint32_t, uint32_t> bodyKeys = t.res.readArchive(bodies);
    UrlResArchive archive(t.strings);
    while (resources.nextRecord()) {
        UrlResRow row = archive.read(resources);
        auto body = bodyKeys.find(row.resId);
        row.resId = body == bodyKeys.end() ? 0 : body->second;
        row.urlResId = 0;
        t.urlRes.insert(row);
    }
}

intptr_t serializeUrlres(DispatchContext &c) {
    const std::string resourcePath = c.args().readCallerText();
    const std::string bodyPath = c.args().readCallerText();
    const bool storing = c.args().readInt32() != 0;
    const auto *ids = static_cast<const uint32_t *>(c.args().readCallerAddr());
    const uint32_t count = c.args().readUInt32();
    ProjectTables &t = c.engine.tables();
    if (storing) {
        std::unique_ptr<ArchiveWriter> resources, bodies;
        try {
            resources = std::make_unique<ArchiveWriter>(resourcePath);
            bodies = std::make_unique<ArchiveWriter>(bodyPath);
        } catch (const CEngineException &) {
            return 0;  // a file that cannot be created answers 0
        }
        storeResources(t, *resources, *bodies, ids ? std::vector<uint32_t>(ids, ids + count) : std::vector<uint32_t>{});
    } else {
        std::unique_ptr<ArchiveReader> resources, bodies;
        try {
            resources = std::make_unique<ArchiveReader>(resourcePath);
            bodies = std::make_unique<ArchiveReader>(bodyPath);
        } catch (const CEngineException &) {
            return 0;
        }
        loadResources(t, *resources, *bodies);
    }
    c.setResult(1);
    return 0;
}

}  // namespace

void addUrlResCommands(CommandTable &table) { table.set(msg::kSerializeUrlres, {serializeUrlres}); }

}  // namespace eng
