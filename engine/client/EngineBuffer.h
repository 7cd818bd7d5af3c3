#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "engine.h"

// Owning what the engine hands to a client: result buffers and single texts,
// released with the engine's Eng_FreeMem as the client has it (linked, or
// bound at run time).
namespace eng::client {

using FreeMem = void (*)(void *);

// One buffer an export answered with (its void **addr, uint32_t *len),
// owned: released with Eng_FreeMem when its owner ends, after the strings
// inside its records once it has been told how to find them. Move-only; an
// empty or moved-from buffer owns nothing and holds no bytes.
class EngineBuffer {
public:
    // Releases the strings of the records laid out in the bytes, with the
    // FreeMem given.
    using StringRelease = void (*)(std::span<const std::byte> bytes, FreeMem freeMem);

    EngineBuffer() noexcept = default;
    // Takes the buffer. A null address owns nothing and holds no bytes,
    // whatever the length says.
    EngineBuffer(void *address, uint32_t length, FreeMem freeMem) noexcept;
    ~EngineBuffer();
    EngineBuffer(EngineBuffer &&other) noexcept;
    EngineBuffer &operator=(EngineBuffer &&other) noexcept;
    EngineBuffer(const EngineBuffer &) = delete;
    EngineBuffer &operator=(const EngineBuffer &) = delete;

    // The bytes as the engine wrote them; valid while the buffer is owned.
    std::span<const std::byte> bytes() const noexcept { return {address_, length_}; }
    // From now on the strings the release finds in the bytes are released
    // with the buffer.
    void releaseStringsWith(StringRelease release) noexcept { strings_ = release; }

private:
    void release() noexcept;

    std::byte *address_ = nullptr;
    uint32_t length_ = 0;
    FreeMem freeMem_ = nullptr;
    StringRelease strings_ = nullptr;
};

// Calls an export whose last two parameters receive a buffer, with the
// arguments that come before them, and owns what it answers (nothing when
// the export leaves the cells alone, as it does with no project open).
template <class Result, class... Parameters, class... Arguments>
EngineBuffer receive(FreeMem freeMem, Result (*call)(Parameters...), Arguments &&...arguments) {
    void *address = nullptr;
    uint32_t length = 0;
    call(std::forward<Arguments>(arguments)..., &address, &length);
    return EngineBuffer(address, length, freeMem);
}

// As receive, for an export that returns a result as well: the result and
// the buffer.
template <class Result, class... Parameters, class... Arguments>
std::pair<Result, EngineBuffer> receiveWithResult(FreeMem freeMem, Result (*call)(Parameters...),
                                                  Arguments &&...arguments) {
    void *address = nullptr;
    uint32_t length = 0;
    const Result result = call(std::forward<Arguments>(arguments)..., &address, &length);
    return {result, EngineBuffer(address, length, freeMem)};
}

// A text the engine handed over (a char * released with Eng_FreeMem), copied
// out and released; a null text is empty.
std::string takeText(char *text, FreeMem freeMem);

}  // namespace eng::client
