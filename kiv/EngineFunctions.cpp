#include "EngineFunctions.h"

#include <dlfcn.h>

namespace kiv {

namespace {

template <class Function>
bool bindOne(void *library, const char *name, Function &function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

}  // namespace

std::unique_ptr<EngineFunctions> EngineFunctions::bind(const std::string &library) {
    void *handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    auto bound = std::make_unique<EngineFunctions>(handle);
    const bool all = bindOne(handle, "Eng_GetBody", bound->getBody) &&
                     bindOne(handle, "Eng_KivAbortWaiting", bound->kivAbortWaiting) &&
                     bindOne(handle, "Eng_RefreshUrlRes2", bound->refreshUrlRes2) &&
                     bindOne(handle, "Eng_FreeMem", bound->freeMem);
    if (!all) return nullptr;
    return bound;
}

EngineFunctions::~EngineFunctions() { dlclose(library_); }

}  // namespace kiv
