#include "core/Records.h"

#include "sys/ErrorText.h"

namespace eng {

void writeUrlResRecord(MemoryStream &out, const UrlResRow &row, CStrTable &strings) {
    const std::string url = strings.textOf(row.urlId);
    writeUrlResRecord(out, row, url, strings.textOf(row.postId));
}

void writeUrlResRecord(MemoryStream &out, const UrlResRow &row, std::string_view url, std::string_view formData) {
    EngUrlResRecord r{};
    r.url = out.newString(url);
    r.formData = out.newString(formData);
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

namespace eng {

void writeTaskRecord(MemoryStream &out, const TaskRow &row, CStrTable &strings) {
    EngTaskRecord r{};
    r.id = row.taskId;
    r.url = out.newString(strings.textOf(row.urlId));
    r.formData = out.newString(strings.textOf(row.postId));
    r.reserved1 = out.newString("");
    r.reserved2 = out.newString("");
    r.userAgent = out.newString(strings.textOf(row.userAgentId));
    r.queued = row.queued;
    r.retrieved = row.retrieved;
    r.depth = row.levels;
    r.state = row.state;
    r.acceptableAge = row.acceptableAge;
    r.created = row.created;
    r.done = row.done;
    r.folder = row.folderId;
    r.filter = out.newString(strings.textOf(row.filterId));
    r.lowGraphics = row.lowGraphics ? 1 : 0;
    r.note = out.newString(strings.textOf(row.noteId));
    r.name = out.newString(row.name);
    r.referer = out.newString(strings.textOf(row.referer));
    r.followRedirects = row.redirectUrl ? 1 : 0;
    r.error = row.error ? 1 : 0;
    r.size = row.size;
    r.errorText = out.newString(errorText(row.errCode));
    r.contentType = out.newString(row.contentType);
    r.type = row.type;
    r.status = row.statusCode;
    r.errorCount = row.errFiles & 0xFFFF;
    r.transportErrorCount = row.errFiles >> 16;
    out.writeRecord(r);
}

}  // namespace eng
