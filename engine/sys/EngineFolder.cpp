#include "sys/EngineFolder.h"

#include <dlfcn.h>

namespace eng {

std::filesystem::path engineFolder() {
    Dl_info library{};
    if (!dladdr(reinterpret_cast<void *>(&engineFolder), &library) || !library.dli_fname) return {};
    return std::filesystem::absolute(library.dli_fname).parent_path();
}

}  // namespace eng
