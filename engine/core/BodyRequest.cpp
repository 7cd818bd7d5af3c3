// Answers the browser's request for the stored copy of an address
// (Eng_GetBody): the page, or the reason there is none. A missing address may
// be put into the crawl; a queued one is moved ahead of the crawl and the
// request gets a token that wakes it when the download has been processed.
#include "base/AsciiText.h"
#include "base/CanonicalUrl.h"
#include "base/DomainKey.h"
#include "base/HtmlScanner.h"
#include "base/UrlHash.h"
#include "content/BrowserPage.h"
#include "content/DynamicAddress.h"
#include "core/AddressLookup.h"
#include "core/CAdvTasksTable.h"
#include "core/CommandTable.h"
#include "core/Engine.h"
#include "core/LocalFiles.h"
#include "core/Messages.h"
#include "filters/Filter.h"
#include "store/ProjectProperties.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

constexpr int kMaxRedirects = 10;
constexpr int16_t kNotAcceptable = 406;

// Limits on the references the browser asked for while showing a page,
// beyond which the page's requests are not put into the crawl: a page whose
// scripts keep making addresses would otherwise fill the queue.
constexpr size_t kMaxBrowsedLinks = 25;
constexpr size_t kMaxLongBrowsedLinks = 5;
constexpr size_t kLongLink = 70;

void writeStatus(MemoryStream &out, uint32_t status, bool mainPage, uint32_t urlResId = 0) {
    out.writeUInt32(status);
    out.writeBool32(mainPage);
    out.writeUInt32(urlResId);
}

void writePage(MemoryStream &out, bool mainPage, std::string_view finalAddress, const BrowserPage &page,
               uint32_t token) {
    out.writeUInt32(ENG_BODY_PAGE);
    out.writeBool32(mainPage);
    out.writeCountedText(finalAddress);
    out.writeCountedText(page.contentType);
    out.writeCountedText(page.body);
    out.writeUInt32(token);
}

uint32_t siteKeyOf(std::string_view address) { return urlHash(domainKey(address)); }

// What the references a page's browsing added say about one more.
struct BrowsedLinks {
    size_t count = 0;
    size_t longOnes = 0;
    bool reachSite = false;  // one of them points to the requested site

    bool allow(bool embedded, bool otherSite, std::string_view address) const {
        if (count > kMaxBrowsedLinks || longOnes > kMaxLongBrowsedLinks) return false;
        return !(embedded && otherSite && reachSite && isDynamicAddress(address));
    }
};

// One Eng_GetBody request, followed through stored redirects.
class BodyRequest {
public:
    BodyRequest(Engine &engine, uint32_t referrerHash, uint32_t task)
        : engine_(engine), t_(engine.tables()), task_(task) {
        if (referrerHash != 0) referrer_ = t_.urlRes.findByHash(referrerHash);
    }

    void answer(MemoryStream &out, std::string_view requested, const std::string &formData, Date date, int depth) {
        const std::string address = canonicalUrl(requested);
        if (depth == 0) mainPage_ = equalsNoCase(address, engine_.browserAddress());
        if (address.empty()) return writeStatus(out, ENG_BODY_INVALID_URL, mainPage_);
        std::optional<UrlResRow> resource;
        if (const auto keys = storedKeysOf(t_, address, formData)) resource = shownResource(t_, task_, *keys, date);
        if (!resource) {
            if (!engine_.running() && (engine_.properties().optionFlags & ENG_OPTION_NO_OFFLINE_ENQUEUE))
                return writeStatus(out, ENG_BODY_NOT_AVAILABLE_OFFLINE, mainPage_);
            resource = enqueue(address, formData);
            if (!resource) return writeStatus(out, ENG_BODY_NOT_ACCEPTED, mainPage_);
        }
        if (resource->state == ENG_STATE_SUSPENDED && engine_.canFetch()) {
            resource->state = ENG_STATE_QUEUED;
            t_.urlRes.update(*resource);
        }
        if (resource->state == ENG_STATE_DONE) return answerStored(out, *resource, depth);
        answerPending(out, *resource);
    }

private:
    void answerStored(MemoryStream &out, const UrlResRow &resource, int depth) {
        if (resource.statusCode == kNotAcceptable) return writeStatus(out, ENG_BODY_NOT_ACCEPTED, mainPage_);
        std::string body;
        if (auto stored = t_.res.read(resource.resId))
            body.assign(reinterpret_cast<const char *>(stored->bytes.data()), stored->bytes.size());
        // A page that asks to be shown for a while before it moves on is
        // shown; the browser follows its refresh itself.
        const bool showsItself = refreshDelay(body).value_or(0) != 0;
        if (resource.redirectUrlId != 0 && !showsItself) {
            if (depth == kMaxRedirects) return writeStatus(out, ENG_BODY_TOO_MANY_REDIRECTS, mainPage_);
            return answer(out, t_.strings.textOf(resource.redirectUrlId), "", resource.doneTime, depth + 1);
        }
        const bool failed = resource.tcpError || resource.statusCode == kStatusUnchanged;
        if (failed && resource.size == 0) return writeStatus(out, ENG_BODY_NO_DATA, mainPage_);
        // The final address comes whole from the string table: the resource's
        // own address column holds only its first 255 characters.
        const std::string finalAddress = depth > 0 ? t_.strings.textOf(resource.urlId) : std::string();
        writePage(out, mainPage_, finalAddress, browserPage(resource.contentType, std::move(body)), 0);
    }

    void answerPending(MemoryStream &out, UrlResRow &resource) {
        if (!engine_.canFetch()) return writeStatus(out, ENG_BODY_QUEUED, mainPage_, resource.urlResId);
        if (resource.state != ENG_STATE_DOWNLOADING) {
            resource.priority = engine_.takeBrowserPriority();
            t_.urlRes.update(resource);
        }
        const uint32_t token = engine_.waiters().add(resource.urlResId);
        if (token == 0) return writeStatus(out, ENG_BODY_QUEUED, mainPage_, resource.urlResId);
        writePage(out, mainPage_, "", BrowserPage{}, token);
    }

    // Puts the address into the crawl, through the referring page when
    // there is one; the resource that resulted, if any.
    std::optional<UrlResRow> enqueue(const std::string &address, const std::string &formData) {
        if (!localFileAllowed(address)) return std::nullopt;
        if (referrer_ && !acceptedFromReferrer(address, formData)) return std::nullopt;
        const uint32_t urlId = t_.strings.intern(address, StringKind::Url, true);
        const uint32_t postId = formData.empty() ? 0 : t_.strings.intern(formData, StringKind::FormData, true);
        return engine_.tasks().addAddress(task_, urlId, postId, engine_.activeFolder(), engine_.running());
    }

    // A local file is taken only as the page the user went to, or from a
    // local page: a page from the web may not have one read.
    bool localFileAllowed(const std::string &address) const {
        if (!isFileAddress(address)) return true;
        return referrer_ ? isFileAddress(t_.strings.textOf(referrer_->urlId)) : mainPage_;
    }

    // Whether the referring page may add the address: within the limits of
    // what its browsing added before, and accepted by the project's filter
    // for the kind of the page's link to it (recorded when it had none).
    bool acceptedFromReferrer(const std::string &address, const std::string &formData) {
        const bool embedded = !mainPage_;
        const uint32_t site = siteKeyOf(address);
        const bool otherSite = site != referrer_->domain;
        BrowsedLinks browsed;
        std::optional<uint8_t> kind;
        for (const RelRow &row : referrer_->resId ? t_.rel.linksOf(referrer_->resId) : std::vector<RelRow>{}) {
            const Link link = t_.rel.linkOf(row);
            if (!kind && link.url == address && link.formData == formData) kind = link.kind;
            if (link.kind != kBrowsedLinkKind) continue;
            ++browsed.count;
            if (link.url.size() > kLongLink) ++browsed.longOnes;
            if (otherSite && siteKeyOf(link.url) == site) browsed.reachSite = true;
        }
        if (!browsed.allow(embedded, otherSite, address)) return false;
        if (!kind) {
            kind = embedded ? kBrowsedLinkKind : 0;
            if (referrer_->resId) t_.rel.addLink(referrer_->resId, Link{*kind, address, formData});
        }
        Filter filter;
        filter.parse(engine_.properties().filter.text());
        filter.compile();
        return filter.accept(address, *kind);
    }

    Engine &engine_;
    ProjectTables &t_;
    uint32_t task_;
    std::optional<UrlResRow> referrer_;
    bool mainPage_ = false;
};

intptr_t getBody(DispatchContext &c) {
    const std::string address = c.args().readCallerText();
    const std::string formData = c.args().readCallerText();
    const uint32_t referrerHash = c.args().readUInt32();
    const uint32_t task = c.args().readUInt32();
    const Date date = c.args().readDate();
    BodyRequest(c.engine, referrerHash, task).answer(c.answer(), address, formData, date, 0);
    return 0;
}

}  // namespace

void addBodyRequests(CommandTable &table) { table.set(msg::kGetBody, {getBody}); }

}  // namespace eng
