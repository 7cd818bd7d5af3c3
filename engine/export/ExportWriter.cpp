#include "export/ExportWriter.h"

#include <functional>

#include "base/EngineException.h"
#include "base/StyleSheetScanner.h"
#include "content/ResourceType.h"
#include "export/ExportedPage.h"
#include "store/CResTable.h"
#include "store/DatabaseException.h"
#include "sys/UiHost.h"

namespace eng {

namespace {

void visit(const ExportNode &node, const std::function<void(const ExportNode &)> &f) {
    f(node);
    for (const auto &child : node.children) visit(*child, f);
}

uint32_t countNodes(const ExportNode &root) {
    uint32_t count = 0;
    visit(root, [&](const ExportNode &) { ++count; });
    return count;
}

std::string readFailure(const std::string &error, const std::string &address) {
    return (error.empty() ? std::string("Unknown error occured.") : error) + "\nError occured while exporting " +
           address;
}

}  // namespace

ExportWriter::ExportWriter(CResTable &bodies, const ExportNode &root, const RedirectMap &redirects,
                           const ExportProgressSink &progress)
    : bodies_(bodies),
      root_(root),
      redirects_(redirects),
      nodes_(countNodes(root)),
      progress_(progress, ExportProgress::Writing, nodes_) {
    // Depth first, so of two files with one address the later one wins.
    visit(root, [&](const ExportNode &node) {
        if (!node.isFolder() && node.body != 0 && &node != &root) files_[node.address] = &node;
    });
}

const ExportNode *ExportWriter::exported(const std::string &address) const {
    const auto found = files_.find(followRedirects(redirects_, address));
    return found == files_.end() ? nullptr : found->second;
}

void ExportWriter::write(const ExportFolder &folder) { writeNode(root_, folder); }

void ExportWriter::writeNode(const ExportNode &node, const ExportFolder &folder) {
    if (!node.isFolder() && &node != &root_) {
        writeFile(node, folder);
        nodeDone();
        return;
    }
    try {
        const ExportFolder subfolder = folder.subfolder(node.name);
        nodeDone();
        for (const auto &child : node.children) writeNode(*child, subfolder);
    } catch (const CEngineException &e) {
        showEngineMessage(e.what());
        skip(node);
    }
}

// A page or a style sheet is rewritten in memory; any other body goes from
// the store to its file a piece at a time, whatever its size. A body that
// cannot be read is reported and left out.
void ExportWriter::writeFile(const ExportNode &node, const ExportFolder &folder) {
    try {
        if (hasLinks(node)) {
            if (const auto page = rewrittenBytes(node)) {
                writeExportFile(folder, node.name, *page, summary_);
                return;
            }
        } else if (const auto body = bodies_.bodyBytes(node.body)) {
            writeExportFile(folder, node.name, *body, summary_);
            return;
        }
        showEngineMessage(readFailure({}, node.address));
    } catch (const CDatabaseException &e) {
        showEngineMessage(readFailure(e.what(), node.address));
    }
    ++summary_.notWritten;
}

bool ExportWriter::hasLinks(const ExportNode &node) {
    if (node.type == static_cast<int>(ResType::Html)) return true;
    const auto row = bodies_.find(int64_t{node.body});
    return row && isStyleSheetType(row->contentType);
}

std::optional<std::string> ExportWriter::rewrittenBytes(const ExportNode &node) {
    const std::optional<StoredBody> body = bodies_.read(node.body);
    if (!body) return std::nullopt;
    const std::string_view stored(reinterpret_cast<const char *>(body->bytes.data()), body->bytes.size());
    const LinkTargetOf targetOf = [&](int, const std::string &address) -> LinkTarget {
        const ExportNode *target = exported(address);
        if (target == nullptr) return {followRedirects(redirects_, address), false};
        return {relativeExportPath(node, *target), true};
    };
    ExportedPage page = isStyleSheetType(body->contentType)
                            ? exportedStyleSheet(stored, node.address, body->contentType, targetOf)
                            : exportedPage(stored, node.address, body->contentType, targetOf);
    summary_.localLinks += static_cast<uint32_t>(page.localLinks);
    summary_.absoluteLinks += static_cast<uint32_t>(page.absoluteLinks);
    return std::move(page.bytes);
}

void ExportWriter::writeRedirectPage(const ExportFolder &folder, const std::string &name, const ExportNode &target,
                                     const std::string &climb) {
    const std::string link = exportLinkText({climb + root_.name + "/" + pathBelowRoot(target), true});
    writeExportFile(
        folder, name,
        "<html><head><meta http-equiv=\"refresh\" content=\"0;URL=" + link + "\"></head><body></body></html>",
        summary_);
}

void ExportWriter::skip(const ExportNode &node) {
    visit(node, [&](const ExportNode &skipped) {
        if (!skipped.isFolder() && &skipped != &root_) ++summary_.notWritten;
        nodeDone();
    });
}

void ExportWriter::nodeDone() { progress_.report(++done_); }

}  // namespace eng
