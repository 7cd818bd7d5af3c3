#include "export/ResourceExport.h"

#include <optional>
#include <set>
#include <vector>

#include "base/AsciiText.h"
#include "base/StyleSheetScanner.h"
#include "content/LocalFileNames.h"
#include "content/ResourceType.h"
#include "engine.h"
#include "export/ExportDestination.h"
#include "export/ExportNames.h"
#include "export/ExportedPage.h"
#include "store/ProjectTables.h"

namespace eng {

namespace {

constexpr int kMaxRedirects = 7;
constexpr size_t kDefaultLength = 100;
constexpr size_t kEmbeddedLength = 255 - 20;  // room for "[n]" and "_files"

bool isPageKind(int kind) { return kind == ENG_LINK_FRAME || kind == ENG_LINK_IFRAME || kind == ENG_LINK_REFRESH; }

class ResourceExporter {
public:
    ResourceExporter(ProjectTables &tables, const ExportOptions &options, bool pageOnly, ExportSummary &summary)
        : t_(tables), options_(options), pageOnly_(pageOnly), summary_(summary) {}

    // Writes the resource as the page `name` (made free) into the folder;
    // its name when written. A style sheet is written as a page is, its
    // files in a companion folder of its own.
    std::optional<std::string> run(const ExportFolder &folder, const std::string &wanted, const UrlResRow &resource,
                                   size_t length) {
        const auto row = t_.res.find(int64_t{resource.resId});
        if (!row || row->size == 0) return std::nullopt;
        const bool isSheet = isStyleSheetType(row->contentType);
        const bool isPage = !isSheet && row->type == static_cast<uint8_t>(ResType::Html);
        const std::string address = t_.strings.textOf(resource.urlId);
        std::string name = wanted.empty() ? fileNameOfUrl(address, true, true, length) : wanted;
        if (name.empty()) name = "index.html";
        if (isPage && options_.htmlExtension) name = htmlFileName(name);
        name = freePageName(folder, name, length, [](const std::string &n) { return n; });
        if (!isPage && !isSheet) return writeBody(folder, name, resource);
        const auto body = t_.res.read(resource.resId);
        if (!body) return std::nullopt;
        exporting_.insert(resource.urlResId);
        Page page{folder, companionFolder(name), resource.doneTime, resource.urlResId, {}, {}};
        const std::string_view stored(reinterpret_cast<const char *>(body->bytes.data()), body->bytes.size());
        const LinkTargetOf targetOf = [&](int kind, const std::string &link) {
            return pageOnly_ ? LinkTarget{link, false} : target(page, kind, link);
        };
        const ExportedPage rewritten = isSheet ? exportedStyleSheet(stored, address, body->contentType, targetOf)
                                               : exportedPage(stored, address, body->contentType, targetOf);
        summary_.localLinks += static_cast<uint32_t>(rewritten.localLinks);
        summary_.absoluteLinks += static_cast<uint32_t>(rewritten.absoluteLinks);
        if (!writeExportFile(folder, name, rewritten.bytes, summary_)) return std::nullopt;
        return name;
    }

private:
    // What one page's embedded files share: its folder, its companion
    // folder (made when the first file needs it) and the names given in it.
    struct Page {
        const ExportFolder &folder;
        std::string companion;
        Date date;
        uint32_t urlRes;
        std::optional<ExportFolder> files;
        std::set<std::string> names;  // lower-cased
    };

    LinkTarget target(Page &page, int kind, const std::string &link) {
        const LinkTarget absolute{link, false};
        if (kind == ENG_LINK_HYPERLINK) return absolute;
        const auto resource = storedResource(link, page.date);
        if (!resource || resource->urlResId == page.urlRes || exporting_.count(resource->urlResId)) return absolute;
        const std::string address = t_.strings.textOf(resource->urlId);
        std::string name = fileNameOfUrl(address, true, true, kEmbeddedLength);
        if (name.empty()) name = "index.html";
        if (kind != ENG_LINK_REFRESH && isPageKind(kind) && options_.htmlExtension) name = htmlFileName(name);
        name = firstFreeName(name, [&](const std::string &n) { return page.names.count(asciiLowered(n)) != 0; });
        if (!page.files) page.files.emplace(page.folder.subfolder(page.companion));
        std::optional<std::string> written;
        if (isPageKind(kind) || kind == ENG_LINK_STYLESHEET) {
            written = run(*page.files, name, *resource, kEmbeddedLength);
        } else {
            written = writeBody(*page.files, name, *resource);
        }
        if (!written) return absolute;
        page.names.insert(asciiLowered(*written));
        return {page.companion + "/" + *written, true};
    }

    // The stored, retrieved resource an address leads to at the date, its
    // redirects followed.
    std::optional<UrlResRow> storedResource(const std::string &address, Date date) {
        uint32_t urlId = t_.strings.intern(address, StringKind::Url, false);
        for (int step = 0; urlId != 0 && step <= kMaxRedirects; ++step) {
            const auto resource = t_.urlRes.findClosest(urlId, 0, date);
            if (!resource || resource->state != ENG_STATE_DONE || resource->error) return std::nullopt;
            if (resource->redirectUrlId == 0) return resource->resId != 0 ? resource : std::nullopt;
            urlId = resource->redirectUrlId;
        }
        return std::nullopt;
    }

    // Any body but a page goes to its file a piece at a time.
    std::optional<std::string> writeBody(const ExportFolder &folder, const std::string &name,
                                         const UrlResRow &resource) {
        const auto body = t_.res.bodyBytes(resource.resId);
        if (!body || !writeExportFile(folder, name, *body, summary_)) return std::nullopt;
        return name;
    }

    ProjectTables &t_;
    const ExportOptions &options_;
    bool pageOnly_;
    ExportSummary &summary_;
    std::set<uint32_t> exporting_;
};

}  // namespace

bool exportResource(ProjectTables &tables, const std::string &destination, uint32_t urlRes,
                    const ExportOptions &options, bool pageOnly, ExportSummary &summary) {
    const auto resource = tables.urlRes.find(int64_t{urlRes});
    if (!resource || resource->resId == 0) return false;
    const Destination where = splitDestination(destination);
    const ExportFolder folder = ExportFolder::destination(where.folder);
    const size_t length = options.nameLength == 0 ? kDefaultLength : std::min(options.nameLength, kEmbeddedLength);
    return ResourceExporter(tables, options, pageOnly, summary)
        .run(folder, where.pageName, *resource, length)
        .has_value();
}

}  // namespace eng
