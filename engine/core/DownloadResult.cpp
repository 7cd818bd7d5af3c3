#include "core/DownloadResult.h"

#include "base/FitText.h"
#include "base/HtmlScanner.h"
#include "content/LocalFileNames.h"
#include "engine.h"
#include "net/HttpDate.h"
#include "sys/ErrorText.h"
#include "sys/UiHost.h"

namespace eng {

namespace {

constexpr size_t kTitleLength = 255;
constexpr size_t kFileNameTitleLength = 100;

void markDone(UrlResRow &row) {
    if (row.state != ENG_STATE_SUSPENDED) row.state = ENG_STATE_DONE;
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
    row.contentLength = clampedCount(d.contentLength);
    row.size = clampedCount(d.body.size());
    row.tcpError = d.networkError();
    row.error = row.tcpError || d.failed();
}

std::string titleFor(const UrlResRow &row, const std::string &address, std::string_view pageTitle) {
    const bool html = isHtmlType(row.contentType);
    std::string title = html ? fitText(pageTitle, kTitleLength) : std::string();
    if (title.empty()) title = fileNameOfUrl(address, false, false, kFileNameTitleLength);
    if (title.empty() && html) title = "Default page";
    if (title.empty()) title = errorText(row.lastError);
    return title;
}

// A refresh of a stored copy: true when the new response is to be stored,
// false when it has been dealt with here.
// A body too large to keep is a failed refresh.
bool refreshGoesOn(ProjectTables &t, UrlResRow &row, const UrlResRow &fetched, bool tooLarge) {
    const int16_t status = fetched.statusCode;
    if (status == 206 && !tooLarge) {
        // The stored part and the rest make the whole body (see storeBody);
        // the stored copy's announced length stays.
        const uint32_t announced = row.contentLength;
        row = fetched;
        row.contentLength = announced;
        return true;
    }
    if (status == 416) {
        CAdvUrlResTable::reset(row, true);
        t.urlRes.update(row);
        return false;
    }
    if (!tooLarge &&
        (status == 200 || (!fetched.tcpError && (status < 400 || status == 404 || status == 406 || status == 410)))) {
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
    if (source && source->state == ENG_STATE_DONE) {
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
        row.state = ENG_STATE_DONE;
    } else {
        if (row.state != ENG_STATE_SUSPENDED) row.state = ENG_STATE_QUEUED;
        row.lastModified = 0;
    }
}

// Stores the received body as the row's: after the stored body that it
// continues (a partial answer to a resumed retrieval), when there is one.
void storeBody(ProjectTables &t, UrlResRow &row, uint32_t continued, const DownloadRecord &d,
               const std::string &address) {
    const MemoryBytes nothing({});
    const std::unique_ptr<ByteSource> before = continued ? t.res.bodyBytes(continued) : nullptr;
    const JoinedBytes body(before ? *before : static_cast<const ByteSource &>(nothing), d.body);
    // The worker's scan covers the received bytes alone, not a body they continue.
    const std::vector<PageLink> *scanned = !before && d.scanned ? &d.scanned->links : nullptr;
    const CResTable::Stored stored = t.res.storeFetched(body, row.contentType, address, scanned);
    row.resId = stored.key;
    row.type = stored.type;
    row.size = clampedCount(body.size());
}

}  // namespace

void applyDownloadResult(ProjectTables &t, UrlResRow &row, const DownloadRecord &d, std::string_view pageTitle) {
    const std::string address = t.strings.textOf(row.urlId);
    // A body past the store's limit was dropped: the resource keeps the error.
    if (d.bodyTooLarge) showEngineMessage(t.res.tooLargeText(address, d.storedBefore() + d.received));
    UrlResRow fetched = row;
    copyResponse(t, fetched, d);
    fetched.title = titleFor(fetched, address, pageTitle);
    uint32_t continued = 0;
    if (row.resId != 0 && holdsStoredCopy(row.statusCode)) {
        if (fetched.statusCode == 206) continued = row.resId;
        if (!refreshGoesOn(t, row, fetched, d.bodyTooLarge)) return;
    } else {
        row = fetched;
    }
    const uint32_t source = row.tag;
    row.tag = 0;
    if (source != 0 && row.statusCode == 304) {
        completeRevalidation(t, row, source);
    } else if (d.bodyTooLarge) {
        row.resId = 0;  // nothing of this retrieval is kept
        markDone(row);
    } else {
        storeBody(t, row, continued, d, address);
        markDone(row);
    }
    t.urlRes.update(row);
    if (source != 0) t.urlRes.release(source);
}

}  // namespace eng
