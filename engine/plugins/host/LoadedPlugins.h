#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lark_parser.h"

namespace eng::parserhost {

// The plug-ins the helper has loaded, in the order of the files it was
// given: each a library that exports CustomParserProc. A file that cannot be
// loaded, or lacks the entry point, is left out and unloaded at once; the
// others are unloaded when the object ends.
class LoadedPlugins {
public:
    explicit LoadedPlugins(const std::vector<std::string> &files);

    size_t size() const { return libraries_.size(); }
    // Calls plug-in k with the page; non-zero when it has written links.
    int call(size_t k, const std::string &baseUrl, std::string_view page, LarkStream *answer) const;

private:
    struct Unload {
        void operator()(void *handle) const;
    };
    struct Library {
        std::unique_ptr<void, Unload> handle;
        LarkCustomParserProc entry;
    };
    std::vector<Library> libraries_;
};

}  // namespace eng::parserhost
