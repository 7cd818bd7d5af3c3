#include "store/UrlResArchive.h"

#include "store/ArchiveReader.h"
#include "store/ArchiveWriter.h"

namespace eng {

void UrlResArchive::write(ArchiveWriter &a, const UrlResRow &row) {
    a.writeUInt32(row.urlResId);
    a.writeString(strings_.textOf(row.urlId));
    a.writeString(strings_.textOf(row.postId));
    a.writeString(strings_.textOf(row.redirectUrlId));
    a.writeUInt32(row.resId);
    a.writeString(row.httpVersion);
    a.writeInt32(row.statusCode);
    a.writeString(row.server);
    a.writeString(row.contentType);
    a.writeUInt32(row.contentLength);
    a.writeUInt32(row.size);
    a.writeInt32(row.tcpError ? 1 : 0);
    a.writeInt32(row.error ? 1 : 0);
    a.writeUInt32(row.lastError);
    // A date taken from a fetch being revalidated is not this fetch's own.
    a.writeDate(toArchiveDate(row.tag ? 0 : row.lastModified));
    a.writeDate(toArchiveDate(row.doneTime));
    a.writeInt32(row.priority);
    a.writeUInt32(row.state);
    a.writeUInt32(row.domain);
    a.writeUInt32(row.urlHash);
    a.writeByte(row.type);
    a.writeString(strings_.textOf(row.referer));
    a.writeString(row.title);
    a.writeUInt32(row.retries);
    a.writeUInt32(row.minSize);
    a.writeUInt32(row.maxSize);
}

UrlResRow UrlResArchive::read(ArchiveReader &a) {
    auto intern = [this](const std::string &text, StringKind kind) { return strings_.intern(text, kind, true); };
    UrlResRow row;
    row.urlResId = a.readUInt32();
    row.url = a.readString();
    row.urlId = intern(row.url, StringKind::Url);
    row.postId = intern(a.readString(), StringKind::FormData);
    row.redirectUrlId = intern(a.readString(), StringKind::Url);
    row.resId = a.readUInt32();
    row.httpVersion = a.readString();
    row.statusCode = static_cast<int16_t>(a.readInt32());
    row.server = a.readString();
    row.contentType = a.readString();
    row.contentLength = a.readUInt32();
    row.size = a.readUInt32();
    row.tcpError = a.readInt32() != 0;
    row.error = a.readInt32() != 0;
    row.lastError = a.readUInt32();
    row.lastModified = fromArchiveDate(a.readDate());
    row.doneTime = fromArchiveDate(a.readDate());
    row.priority = a.readInt32();
    row.state = a.readUInt32();
    row.domain = a.readUInt32();
    row.urlHash = a.readUInt32();
    row.type = a.readByte();
    row.referer = intern(a.readString(), StringKind::Url);
    row.title = a.readString();
    row.retries = a.readUInt32();
    row.minSize = a.readUInt32();
    row.maxSize = a.readUInt32();
    return row;
}

}  // namespace eng
