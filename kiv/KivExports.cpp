// The library's C interface: registration binds the engine; each handler is
// one KivRequest; combining links shares the library's base map.
#include <cstring>
#include <memory>

#include "EngineFunctions.h"
#include "KivRequest.h"
#include "OfflineAddress.h"
#include "kiv.h"

struct KivHandler {
    explicit KivHandler(const kiv::EngineFunctions &engine, kiv::BaseMap &bases) : request(engine, bases) {}
    kiv::KivRequest request;
};

namespace {

// What every handler of the library shares: the bound engine and the base map.
struct Library {
    std::unique_ptr<kiv::EngineFunctions> engine;
    kiv::BaseMap bases;
};

Library &library() {
    static Library shared;
    return shared;
}

}  // namespace

extern "C" {

int32_t Kiv_Register(const char *engineLibrary) {
    if (library().engine) return 1;
    library().engine = kiv::EngineFunctions::bind(engineLibrary ? engineLibrary : "libengine.so");
    return library().engine ? 1 : 0;
}

KivHandler *Kiv_CreateHandler(void) {
    if (!library().engine) return nullptr;
    return new KivHandler(*library().engine, library().bases);
}

void Kiv_ReleaseHandler(KivHandler *handler) { delete handler; }

int32_t Kiv_Start(KivHandler *handler, const char *address, uint32_t flags, const void *postData, uint32_t postLength,
                  const KivSink *sink) {
    if (!handler || !address || !sink) return KIV_E_FAIL;
    std::string post;
    if (postData) post.assign(static_cast<const char *>(postData), postLength);
    return handler->request.start(address, flags, std::move(post), *sink);
}

int32_t Kiv_Read(KivHandler *handler, void *buffer, uint32_t size, uint32_t *read) {
    if (!handler || (!buffer && size != 0)) return KIV_E_FAIL;
    return handler->request.read(buffer, size, read);
}

int32_t Kiv_Abort(KivHandler *handler) { return handler ? handler->request.abort() : KIV_E_FAIL; }

int32_t Kiv_Terminate(KivHandler *handler) { return handler ? handler->request.terminate() : KIV_E_FAIL; }

int32_t Kiv_CombineUrl(const char *base, const char *relative, char *result, uint32_t size, uint32_t *length) {
    if (!base || !relative) return KIV_E_FAIL;
    const auto combined = kiv::OfflineAddressBuilder::combine(base, relative, library().bases);
    if (!combined) return KIV_E_FAIL;
    if (length) *length = static_cast<uint32_t>(combined->size());
    if (!result || combined->size() + 1 > size) return KIV_S_FALSE;
    std::memcpy(result, combined->c_str(), combined->size() + 1);
    return KIV_S_OK;
}

}  // extern "C"
