#pragma once

#include <cstdint>

#include "store/CAdvUrlResTable.h"
#include "store/CStrTable.h"

namespace eng {

class ArchiveReader;
class ArchiveWriter;

// The transfer-archive form of a URL resource: its texts instead of string
// keys, and its body by the writing project's body key.
class UrlResArchive {
public:
    explicit UrlResArchive(CStrTable &strings) : strings_(strings) {}

    void write(ArchiveWriter &archive, const UrlResRow &row);
    // A row whose string keys are interned in this project (not referenced
    // yet) and whose body key is still the writer's.
    UrlResRow read(ArchiveReader &archive);

private:
    CStrTable &strings_;
};

}  // namespace eng
