#include "plugins/host/LoadedPlugins.h"

#include <dlfcn.h>

#include <cstdio>

namespace eng::parserhost {

void LoadedPlugins::Unload::operator()(void *handle) const { dlclose(handle); }

LoadedPlugins::LoadedPlugins(const std::vector<std::string> &files) {
    for (const std::string &file : files) {
        std::unique_ptr<void, Unload> handle(dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL));
        if (!handle) {
            std::fprintf(stderr, "Parser plug-in skipped: %s\n", dlerror());
            continue;
        }
        if (void *entry = dlsym(handle.get(), "CustomParserProc"))
            libraries_.push_back({std::move(handle), reinterpret_cast<LarkCustomParserProc>(entry)});
    }
}

int LoadedPlugins::call(size_t k, const std::string &baseUrl, std::string_view page, LarkStream *answer) const {
    return libraries_[k].entry(baseUrl.c_str(), reinterpret_cast<const uint8_t *>(page.data()),
                               static_cast<uint32_t>(page.size()), answer);
}

}  // namespace eng::parserhost
