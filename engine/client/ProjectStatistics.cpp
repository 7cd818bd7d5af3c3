#include "ProjectStatistics.h"

#include "PackedRecords.h"

namespace eng::client {

static_assert(sizeof(TypeFigures) == 12);

std::optional<ProjectStatistics> readProjectStatistics(decltype(&Eng_GetStatistics) get, FreeMem freeMem) {
    const EngineBuffer answer = receive(freeMem, get);
    const std::span<const std::byte> bytes = answer.bytes();
    const auto online = recordAt<double>(bytes, 0);
    if (!online || (bytes.size() - sizeof(double)) % sizeof(TypeFigures) != 0) return std::nullopt;
    ProjectStatistics statistics{*online, {}};
    for (size_t offset = sizeof(double); offset < bytes.size(); offset += sizeof(TypeFigures))
        statistics.types.push_back(*recordAt<TypeFigures>(bytes, offset));
    return statistics;
}

}  // namespace eng::client
