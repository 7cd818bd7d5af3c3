#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace eng {

class ParserHost;

// The parser plug-ins of an open project: the "cp*.so" files of a folder,
// sorted by name, run in lark-parser-host (see ParserHostProtocol.h) so that
// a plug-in that crashes or hangs cannot take the engine down. The helper
// starts the first time a page is offered, and only when the folder has
// such a file; it ends with the object.
//
// A plug-in call that crashes the helper, or has not returned within the
// call limit, counts as no answer: the helper is killed and a new one asks
// the next plug-in. A helper that cannot start or load its plug-ins, or
// finds no entry point in any, leaves the plug-ins unused until the project
// closes.
class ParserPlugins {
public:
    static constexpr std::chrono::milliseconds kCallLimit{5000};

    ParserPlugins(const std::filesystem::path &folder, std::filesystem::path hostProgram,
                  std::chrono::milliseconds callLimit = kCallLimit);
    // The "Parsers" folder beside the engine's file, with the helper program
    // beside the engine.
    static std::unique_ptr<ParserPlugins> besideEngine();
    ~ParserPlugins();
    ParserPlugins(const ParserPlugins &) = delete;
    ParserPlugins &operator=(const ParserPlugins &) = delete;

    // The answer of the first plug-in, in name order, that answers for the
    // page (its base URL and bytes); nothing when none does.
    std::optional<std::string> ask(std::string_view baseUrl, std::string_view page);
    // False once it is known that no plug-in can answer (none found, or
    // none usable), so that callers need not prepare a page for asking.
    bool available() const { return !files_.empty(); }

private:
    // The running helper, started when there is none; null when the
    // plug-ins cannot be used.
    ParserHost *host();

    std::vector<std::filesystem::path> files_;
    std::filesystem::path hostProgram_;
    std::chrono::milliseconds callLimit_;
    std::unique_ptr<ParserHost> host_;
    uint32_t count_ = 0;  // the plug-ins with an entry point, once a helper has started
};

}  // namespace eng
