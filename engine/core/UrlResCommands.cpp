// Commands on URL resources that stand on their own.
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/Messages.h"
#include "core/ResourceTransfer.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

intptr_t serializeUrlres(DispatchContext &c) {
    const std::string resourcePath = c.args().readCallerText();
    const std::string bodyPath = c.args().readCallerText();
    const bool storing = c.args().readInt32() != 0;
    const auto *ids = static_cast<const uint32_t *>(c.args().readCallerAddr());
    const uint32_t count = c.args().readUInt32();
    ProjectTables &t = c.engine.tables();
    if (storing) {
        auto files = openArchives<ArchiveWriter>({resourcePath, bodyPath});
        if (files.empty()) return 0;  // a file that cannot be created answers 0
        storeResources(t, *files[0], *files[1],
                       ids ? std::vector<uint32_t>(ids, ids + count) : std::vector<uint32_t>{});
    } else {
        auto files = openArchives<ArchiveReader>({resourcePath, bodyPath});
        if (files.empty()) return 0;
        loadResources(t, *files[0], *files[1]);
    }
    c.setResult(1);
    return 0;
}

}  // namespace

void addUrlResCommands(CommandTable &table) { table.set(msg::kSerializeUrlres, {serializeUrlres}); }

}  // namespace eng
