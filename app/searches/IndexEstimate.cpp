#include "IndexEstimate.h"

namespace {

constexpr uint64_t kBytesPerWord = 22;
constexpr uint32_t kLeastExtractSpeed = 8000;
constexpr uint32_t kLeastIndexSpeed = 30000;

}  // namespace

IndexSpeeds IndexSpeeds::fromStored(std::optional<uint32_t> extract, std::optional<uint32_t> index) {
    IndexSpeeds speeds;
    if (extract) speeds.extractWordsPerSec = *extract >= kLeastExtractSpeed ? *extract : kLeastExtractSpeed;
    if (index && *index >= kLeastIndexSpeed) speeds.indexWordsPerSec = *index;
    return speeds;
}

uint64_t estimatedIndexSeconds(uint64_t bytes, IndexSpeeds speeds) {
    const uint64_t words = bytes / kBytesPerWord;
    return words / speeds.extractWordsPerSec + words / speeds.indexWordsPerSec;
}

QString durationText(uint64_t seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString indexQuestion(uint64_t bytes, IndexSpeeds speeds) {
    return QStringLiteral(
               "You have chosen to search for words in the text of web pages.\r\nTo use this capability, the program "
               "needs to index the database.\r\nThe estimated time to do it is %1.")
        .arg(durationText(estimatedIndexSeconds(bytes, speeds)));
}
