#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kiv {

// The four engine functions the handler calls, bound by name from the engine
// library that the process has loaded (or loads now).
class EngineFunctions {
public:
    using GetBody = void (*)(const char *url, const char *form, uint32_t referrerHash, uint32_t task, double date,
                             void **addr, uint32_t *len);
    using KivAbortWaiting = int32_t (*)(uint32_t token);
    using RefreshUrlRes2 = int32_t (*)(uint32_t task, const char *url, const char *form, double date);
    using FreeMem = void (*)(void *);

    // Binds from the library file; nothing when it or a function is missing.
    static std::unique_ptr<EngineFunctions> bind(const std::string &library);
    // Takes over an opened library handle, closed with the object.
    explicit EngineFunctions(void *library) : library_(library) {}
    EngineFunctions(const EngineFunctions &) = delete;
    EngineFunctions &operator=(const EngineFunctions &) = delete;
    ~EngineFunctions();

    GetBody getBody = nullptr;
    KivAbortWaiting kivAbortWaiting = nullptr;
    RefreshUrlRes2 refreshUrlRes2 = nullptr;
    FreeMem freeMem = nullptr;

private:
    void *library_;
};

}  // namespace kiv
