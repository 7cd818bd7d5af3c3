#include "plugins/ParserPlugins.h"

#include <fnmatch.h>

#include <algorithm>
#include <exception>

#include "plugins/ParserHost.h"
#include "plugins/ParserHostProtocol.h"
#include "sys/EngineFolder.h"

namespace eng {

namespace {

// The plug-in files of the folder by name; none when there is no folder.
std::vector<std::filesystem::path> pluginFiles(const std::filesystem::path &folder) {
    std::vector<std::filesystem::path> files;
    std::error_code error;
    for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        if (fnmatch("cp*.so", name.c_str(), 0) == 0 && entry->is_regular_file(error)) files.push_back(entry->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

ParserPlugins::ParserPlugins(const std::filesystem::path &folder, std::filesystem::path hostProgram,
                             std::chrono::milliseconds callLimit)
    : files_(pluginFiles(folder)), hostProgram_(std::move(hostProgram)), callLimit_(callLimit) {}

std::unique_ptr<ParserPlugins> ParserPlugins::besideEngine() {
    const std::filesystem::path folder = engineFolder();
    return std::make_unique<ParserPlugins>(folder / "Parsers", folder / parserhost::kProgramName);
}

ParserPlugins::~ParserPlugins() = default;

std::optional<std::string> ParserPlugins::ask(std::string_view baseUrl, std::string_view page) {
    for (uint32_t first = 0; ParserHost *running = host();) {
        ParserHost::Reply reply = running->ask(first, baseUrl, page);
        if (!reply.failed) return std::move(reply.answer);
        // The plug-in called last crashed or hung the helper: a new helper
        // goes on with the next one.
        host_.reset();
        first = reply.lastCalled.value_or(first) + 1;
        if (first >= count_) break;
    }
    return std::nullopt;
}

ParserHost *ParserPlugins::host() {
    // A helper that has gone while it waited is replaced.
    if (host_ && !host_->waiting()) host_.reset();
    if (host_ || files_.empty()) return host_.get();
    try {
        host_ = std::make_unique<ParserHost>(hostProgram_, files_, callLimit_);
    } catch (const std::exception &) {
        files_.clear();
        return nullptr;
    }
    count_ = host_->pluginCount();
    if (count_ == 0) {
        host_.reset();
        files_.clear();
    }
    return host_.get();
}

}  // namespace eng
