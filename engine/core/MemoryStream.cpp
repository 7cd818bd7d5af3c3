#include "core/MemoryStream.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "base/EngineException.h"

namespace eng {

char *allocateString(std::string_view text) {
    auto *copy = static_cast<char *>(std::malloc(text.size() + 1));
    if (!copy) throw std::bad_alloc();
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    return copy;
}

void freeBlock(void *block) { std::free(block); }

MemoryStream MemoryStream::attach(const void *data, size_t length) {
    MemoryStream s;
    s.data_ = static_cast<uint8_t *>(const_cast<void *>(data));
    s.length_ = length;
    s.capacity_ = length;
    s.owned_ = false;
    return s;
}

MemoryStream::MemoryStream(MemoryStream &&other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      length_(std::exchange(other.length_, 0)),
      capacity_(std::exchange(other.capacity_, 0)),
      position_(std::exchange(other.position_, 0)),
      owned_(std::exchange(other.owned_, true)),
      strings_(std::move(other.strings_)) {}

MemoryStream &MemoryStream::operator=(MemoryStream &&other) noexcept {
    MemoryStream taken(std::move(other));
    swap(taken);
    return *this;
}

void MemoryStream::swap(MemoryStream &other) noexcept {
    std::swap(data_, other.data_);
    std::swap(length_, other.length_);
    std::swap(capacity_, other.capacity_);
    std::swap(position_, other.position_);
    std::swap(owned_, other.owned_);
    std::swap(strings_, other.strings_);
}

MemoryStream::~MemoryStream() {
    releaseStrings();
    if (owned_) std::free(data_);
}

void MemoryStream::releaseStrings() {
    for (char *s : strings_) std::free(s);
    strings_.clear();
}

void MemoryStream::reserve(size_t needed) {
    if (needed <= capacity_) return;
    if (!owned_) throw CEngineException("The stream cannot grow a caller's buffer");
    if (needed > std::numeric_limits<uint32_t>::max()) throw CEngineException("Result too large");
    // Capacity stays a multiple of the growth step; larger streams grow by
    // half again so that long lists are not copied once per record.
    size_t target = std::max(needed, capacity_ + capacity_ / 2);
    target = (target + kGrowthStep - 1) / kGrowthStep * kGrowthStep;
    auto *grown = static_cast<uint8_t *>(std::realloc(data_, target));
    if (!grown) throw std::bad_alloc();
    data_ = grown;
    capacity_ = target;
}

void MemoryStream::write(const void *bytes, size_t count) {
    if (count == 0) return;
    reserve(position_ + count);
    std::memcpy(data_ + position_, bytes, count);
    position_ += count;
    length_ = std::max(length_, position_);
}

void MemoryStream::read(void *bytes, size_t count) {
    if (count > length_ - position_) throw CEngineException("Unexpected end of the record stream");
    std::memcpy(bytes, data_ + position_, count);
    position_ += count;
}

void MemoryStream::truncate() {
    releaseStrings();
    length_ = 0;
    position_ = 0;
}

DetachedBuffer MemoryStream::detach() {
    DetachedBuffer out;
    if (length_ != 0 && owned_) {
        out.data = data_;
        out.length = static_cast<uint32_t>(length_);
        data_ = nullptr;
        capacity_ = 0;
        strings_.clear();
    }
    truncate();
    return out;
}

void MemoryStream::writeCountedText(std::string_view text) {
    writeUInt32(static_cast<uint32_t>(text.size()));
    write(text.data(), text.size());
}

char *MemoryStream::newString(std::string_view text) {
    // Room first, so that the copy is never lost to a failed push_back; the
    // room doubles, so that a list of many records does not copy the list of
    // strings once per string.
    if (strings_.size() == strings_.capacity()) strings_.reserve(std::max<size_t>(16, strings_.capacity() * 2));
    char *copy = allocateString(text);
    strings_.push_back(copy);
    return copy;
}

void MemoryStream::writeStrRef(std::string_view text) {
    const char *copy = newString(text);
    write(&copy, sizeof copy);
}

std::string MemoryStream::readCallerText() {
    const char *text = static_cast<const char *>(readCallerAddr());
    return text ? std::string(text) : std::string();
}

std::string MemoryStream::readCountedText() {
    const uint32_t count = readUInt32();
    if (count > length_ - position_) throw CEngineException("Unexpected end of the record stream");
    std::string text(reinterpret_cast<const char *>(data_ + position_), count);
    position_ += count;
    return text;
}

}  // namespace eng
