#include "DownloadProgress.h"

DownloadProgress DownloadProgress::fromRecord(const EngDownloadProgressRecord &record) {
    // Copied out first: the packed record's pointers are not aligned.
    const char *url = record.url, *postData = record.postData;
    return {record.state, QString::fromUtf8(url ? url : ""), postData && *postData, record.received,
            record.contentLength};
}
