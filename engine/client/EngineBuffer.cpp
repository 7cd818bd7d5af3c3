#include "EngineBuffer.h"

#include <memory>

namespace eng::client {

EngineBuffer::EngineBuffer(void *address, uint32_t length, FreeMem freeMem) noexcept
    : address_(static_cast<std::byte *>(address)), length_(address ? length : 0), freeMem_(freeMem) {}

EngineBuffer::~EngineBuffer() { release(); }

EngineBuffer::EngineBuffer(EngineBuffer &&other) noexcept
    : address_(std::exchange(other.address_, nullptr)),
      length_(std::exchange(other.length_, 0)),
      freeMem_(other.freeMem_),
      strings_(std::exchange(other.strings_, nullptr)) {}

EngineBuffer &EngineBuffer::operator=(EngineBuffer &&other) noexcept {
    if (this == &other) return *this;
    release();
    address_ = std::exchange(other.address_, nullptr);
    length_ = std::exchange(other.length_, 0);
    freeMem_ = other.freeMem_;
    strings_ = std::exchange(other.strings_, nullptr);
    return *this;
}

void EngineBuffer::release() noexcept {
    if (!address_) return;
    if (strings_) strings_(bytes(), freeMem_);
    freeMem_(address_);
    address_ = nullptr;
    length_ = 0;
    strings_ = nullptr;
}

std::string takeText(char *text, FreeMem freeMem) {
    const std::unique_ptr<char, FreeMem> owned(text, freeMem);
    return text ? std::string(text) : std::string();
}

}  // namespace eng::client
