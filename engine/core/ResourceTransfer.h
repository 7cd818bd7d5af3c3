#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/EngineException.h"
#include "store/ArchiveReader.h"
#include "store/ArchiveWriter.h"
#include "store/ProjectTables.h"

namespace eng {

// Opens every archive file, or none: an empty list when one cannot be opened.
template <class Archive>
std::vector<std::unique_ptr<Archive>> openArchives(const std::vector<std::string> &paths) {
    std::vector<std::unique_ptr<Archive>> files;
    try {
        for (const std::string &path : paths) files.push_back(std::make_unique<Archive>(path));
    } catch (const CEngineException &) {
        files.clear();
    }
    return files;
}

// Writes URL resources and then their bodies; a missing id is an error.
void storeResources(ProjectTables &tables, ArchiveWriter &resources, ArchiveWriter &bodies,
                    const std::vector<uint32_t> &ids);
// Reads bodies and then the URL resources that use them, inserted as new
// rows; returns which new id each archived id became.
std::map<uint32_t, uint32_t> loadResources(ProjectTables &tables, ArchiveReader &resources, ArchiveReader &bodies);

}  // namespace eng
