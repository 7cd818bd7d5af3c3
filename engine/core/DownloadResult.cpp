#include "core/DownloadResult.h"

#include "content/LocalFileNames.h"
#include "net/HttpDate.h"
#include "store/TableText.h"
#include "sys/ErrorText.h"

namespace eng {

namespace {

constexpr uint32_t kDone = 2, kQueued = 3, kSuspended = 5;
constexpr size_t kTitleLength = 255;
constexpr size_t kFileNameTitleLength = 100;

void markDone(UrlResRow &row) {
    if (row.state != kSuspended) row.state = kDone;
    row.doneTime = now();
}

// What the response says, copied over the resource.
void copyResponse(ProjectTables &t, UrlResRow &row, const DownloadRecord &d) {
    row.lastError = d.errorCode.load();
    row.statusCode = d.aborted ? kStatusUnchanged : static_cast<int16_t>(d.statusCode);
    row.contentType = d.contentType;
    row.server = d.server;
    row.httpVersion = d.httpVersion;
    row.redirectUrlId = t.strings.intern(d.location, StringKind::Url, true);
    if (!d.lastModified.empty()) row.lastModified = parseHttpDate(d.lastModified).value_or(0);
    row.contentLength = d.contentLength;
    row.size = static_cast<uint32_t>(d.body.size());
    row.tcpError = d.networkError();
    row.error = row.tcpError || d.failed();
}

std::string titleFor(const UrlResRow &row, const std::string &address, std::string_view pageTitle) {
    const bool html = row.contentType.rfind("text/html", 0) == 0;
    std::string title = html ? fitText(pageTitle, kTitleLength) : std::string();
    if (title.empty()) title = fileNameOfUrl(address, false, false, kFileNameTitleLength);
    if (title.empty() && html) title = "Default page";
    if (title.empty()) title = errorText(row.lastError);
    return title;
}

// A refresh of a stored copy: true when the new response is to be stored,
// false when it has been dealt with here.
bool refreshGoesOn(ProjectTables &t, UrlResRow &row, const UrlResRow &fetched, DownloadRecord &d) {
    const int16_t status = fetched.statusCode;
    if (status == 206) {
        // The stored part and the rest make the whole body; the stored
        // copy's announced length stays.
        if (auto stored = t.res.read(row.resId))
            d.body.insert(d.body.begin(), stored->bytes.begin(), stored->bytes.end());
        const uint32_t announced = row.contentLength;
        row = fetched;
        row.contentLength = announced;
        row.size = static_cast<uint32_t>(d.body.size());
        return true;
    }
    if (status == 416) {
        CAdvUrlResTable::reset(row, true);
        t.urlRes.update(row);
        return false;
    }
    if (status == 200 || (!fetched.tcpError && (status < 400 || status == 404 || status == 406 || status == 410))) {
        row = fetched;
        return true;
    }
    // A failed refresh keeps the stored copy and records only the failure.
    row.lastError = fetched.lastError;
    row.tcpError = fetched.tcpError;
    row.error = fetched.error;
    row.redirectUrlId = fetched.redirectUrlId;
    markDone(row);
    t.urlRes.update(row);
    return false;
}

// "Not modified": the earlier fetch's copy becomes this one's.
void completeRevalidation(ProjectTables &t, UrlResRow &row, uint32_t sourceId) {
    auto source = t.urlRes.find(int64_t{sourceId});
    if (source && source->state == kDone) {
        row.redirectUrlId = source->redirectUrlId;
        row.resId = source->resId;
        row.type = source->type;
        row.httpVersion = source->httpVersion;
        row.statusCode = source->statusCode;
        row.server = source->server;
        row.contentType = source->contentType;
        row.contentLength = source->contentLength;
        row.size = source->size;
        row.error = source->error;
        row.tcpError = source->tcpError;
        row.lastError = source->lastError;
        row.doneTime = source->doneTime;
        row.state = kDone;
    } else {
        if (row.state != kSuspended) row.state = kQueued;
        row.lastModified = 0;
    }
}

}  // namespace

void applyDownloadResult(ProjectTables &t, UrlResRow &row, DownloadRecord &d, std::string_view pageTitle) {
    const std::string address = t.strings.textOf(row.urlId);
    UrlResRow fetched = row;
    copyResponse(t, fetched, d);
    fetched.title = titleFor(fetched, address, pageTitle);
    if (row.resId != 0 && holdsStoredCopy(row.statusCode)) {
        if (!refreshGoesOn(t, row, fetched, d)) return;
    } else {
        row = fetched;
    }
    const uint32_t source = row.tag;
    row.tag = 0;
    if (source != 0 && row.statusCode == 304) {
        completeRevalidation(t, row, source);
    } else {
        const CResTable::Stored body = t.res.storeFetched(std::move(d.body), row.contentType, address);
        row.resId = body.key;
        row.type = body.type;
        markDone(row);
    }
    t.urlRes.update(row);
    if (source != 0) t.urlRes.release(source);
}

}  // namespace eng
