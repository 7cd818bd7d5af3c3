#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "export/ExportFolder.h"
#include "export/ExportProgress.h"
#include "export/ExportTree.h"
#include "export/TaskResources.h"

namespace eng {

class CResTable;

// Writes an export tree to disk: a folder for every folder node, a file
// with its stored body for every file node, each page with its links
// rewritten (to the relative path of the exported file their address, its
// redirects followed, leads to; else to that absolute address). A folder
// that cannot be made, a body that cannot be read and a name already taken
// are reported in the engine's message box; the export goes on without
// them. A file that cannot be written (a full disk) ends it with an error.
class ExportWriter {
public:
    ExportWriter(CResTable &bodies, const ExportNode &root, const RedirectMap &redirects,
                 const ExportProgressSink &progress);

    // Writes the root as a subfolder of the folder, then everything below it.
    void write(const ExportFolder &folder);

    // The file node an address leads to after its redirects; null when it
    // was not exported.
    const ExportNode *exported(const std::string &address) const;

    // Writes the page that opens the file node from the folder: a META
    // refresh to its relative path, which climbs to the folder that holds
    // the root ("../" for each level). Nothing when the name is taken.
    void writeRedirectPage(const ExportFolder &folder, const std::string &name, const ExportNode &target,
                           const std::string &climb = {});

    const ExportSummary &summary() const { return summary_; }

private:
    void writeNode(const ExportNode &node, const ExportFolder &folder);
    void writeFile(const ExportNode &node, const ExportFolder &folder);
    // Whether the file is a page or a style sheet, whose links are rewritten.
    bool hasLinks(const ExportNode &node);
    // The page or style sheet rewritten; nothing when it has no body.
    std::optional<std::string> rewrittenBytes(const ExportNode &node);
    void skip(const ExportNode &node);
    void nodeDone();

    CResTable &bodies_;
    const ExportNode &root_;
    const RedirectMap &redirects_;
    std::unordered_map<std::string, const ExportNode *> files_;
    uint32_t nodes_ = 0;
    uint32_t done_ = 0;
    ThrottledProgress progress_;
    ExportSummary summary_;
};

}  // namespace eng
