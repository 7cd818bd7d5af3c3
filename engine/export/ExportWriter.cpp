#include "export/ExportWriter.h"

#include <functional>

#include "base/EngineException.h"
#include "export/ExportedPage.h"
#include "store/CResTable.h"
#include "sys/UiHost.h"

namespace eng {

namespace {

constexpr int kHtmlType = 1;

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

void ExportWriter::writeFile(const ExportNode &node, const ExportFolder &folder) {
    store(folder, node.name, fileBytes(node));
}

std::string ExportWriter::fileBytes(const ExportNode &node) {
    std::optional<StoredBody> body;
    try {
        body = bodies_.read(node.body);
        if (!body) showEngineMessage(readFailure({}, node.address));
    } catch (const std::exception &e) {
        showEngineMessage(readFailure(e.what(), node.address));
    }
    if (!body) return {};
    std::string bytes(body->bytes.begin(), body->bytes.end());
    if (node.type != kHtmlType) return bytes;
    const ExportedPage page =
        exportedPage(bytes, node.address, body->contentType, [&](int, const std::string &address) -> LinkTarget {
            const ExportNode *target = exported(address);
            if (target == nullptr) return {followRedirects(redirects_, address), false};
            return {relativeExportPath(node, *target), true};
        });
    summary_.localLinks += static_cast<uint32_t>(page.localLinks);
    summary_.absoluteLinks += static_cast<uint32_t>(page.absoluteLinks);
    return page.bytes;
}

void ExportWriter::store(const ExportFolder &folder, const std::string &name, const std::string &bytes) {
    if (!folder.writeNew(name, bytes)) {
        showEngineMessage(folder.pathOf(name) + " already exists and was not written by this export; it was kept");
        ++summary_.notWritten;
        return;
    }
    ++summary_.files;
    summary_.bytes += bytes.size();
}

void ExportWriter::writeRedirectPage(const ExportFolder &folder, const std::string &name, const ExportNode &target,
                                     const std::string &climb) {
    const std::string link = exportLinkText({climb + root_.name + "/" + pathBelowRoot(target), true});
    store(folder, name,
          "<html><head><meta http-equiv=\"refresh\" content=\"0;URL=" + link + "\"></head><body></body></html>");
}

void ExportWriter::skip(const ExportNode &node) {
    visit(node, [&](const ExportNode &skipped) {
        if (!skipped.isFolder() && &skipped != &root_) ++summary_.notWritten;
        nodeDone();
    });
}

void ExportWriter::nodeDone() { progress_.report(++done_); }

}  // namespace eng
