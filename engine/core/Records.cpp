#include "core/Records.h"

#include "sys/ErrorText.h"

namespace eng {

void writeUrlResRecord(MemoryStream &out, const UrlResRow &row, CStrTable &strings) {
    EngUrlResRecord r{};
    r.url = out.newString(strings.textOf(row.urlId));
    r.formData = out.newString(strings.textOf(row.postId));
    r.id = row.urlResId;
    r.state = static_cast<uint8_t>(row.state);
    r.status = row.statusCode;
    r.errorText = out.newString(row.statusCode == kStatusUnchanged ? "Ok." : errorText(row.lastError));
    r.contentLength = row.contentLength;
    r.size = row.size;
    r.error = row.error ? 1 : 0;
    r.contentType = out.newString(row.contentType);
    r.lastModified = row.lastModified;
    r.doneTime = row.doneTime;
    r.type = row.type;
    r.title = out.newString(row.title);
    out.writeRecord(r);
}

void writeItemRecord(MemoryStream &out, const ItemRow &row) {
    EngItemRecord r{};
    r.item = row.itemId;
    r.task = row.taskId;
    r.level = row.level;
    r.created = row.created;
    r.tag = static_cast<int32_t>(row.tag);
    out.writeRecord(r);
}

}  // namespace eng
