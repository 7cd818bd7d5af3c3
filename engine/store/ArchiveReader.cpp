#include "store/ArchiveReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/EngineException.h"
#include "base/Utf8Recoding.h"

namespace eng {

namespace {

// 16-bit little-endian text to the 8-bit system code page (UTF-8); a lone
// surrogate becomes U+FFFD.
std::string utf16ToUtf8(const std::u16string &units) {
    std::string out;
    out.reserve(units.size());
    for (size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        appendUtf8(out, c);
    }
    return out;
}

}  // namespace

ArchiveReader::ArchiveReader(const std::string &path) : path_(path), file_(std::fopen(path.c_str(), "rb")) {
    if (!file_) throw CEngineException("Cannot open the archive \"" + path + "\": " + std::strerror(errno));
    std::setvbuf(file_.get(), buffer_, _IOFBF, sizeof buffer_);
}

bool ArchiveReader::nextRecord() {
    const int c = std::fgetc(file_.get());
    if (c == EOF) {
        if (std::ferror(file_.get())) throw CEngineException("Cannot read the archive \"" + path_ + "\"");
        return false;
    }
    std::ungetc(c, file_.get());
    return true;
}

void ArchiveReader::read(void *bytes, size_t count) {
    if (count && std::fread(bytes, 1, count, file_.get()) != count)
        throw CEngineException("The archive \"" + path_ + "\" ends inside a record");
}

uint32_t ArchiveReader::readLength() {
    const uint8_t shortLength = readByte();
    if (shortLength < kArchiveLongLength) return shortLength;
    const uint16_t longLength = readValue<uint16_t>();
    if (longLength < kArchiveWideMarker) return longLength;
    if (longLength == kArchiveHugeLength) return readUInt32();
    return UINT32_MAX;  // the 16-bit string marker
}

namespace {
// Reads count bytes into a container grown piece by piece, so that a corrupt
// length cannot demand a huge block before the file runs out.
template <class Container, class Read>
Container readPieces(size_t count, Read read) {
    constexpr size_t kPiece = 1 << 20;
    Container out;
    for (size_t done = 0; done < count;) {
        const size_t piece = std::min(kPiece, count - done);
        out.resize(done + piece);
        read(out.data() + done, piece);
        done += piece;
    }
    return out;
}
}  // namespace

std::string ArchiveReader::readString() {
    const uint32_t length = readLength();
    if (length == UINT32_MAX) return readWideString();
    return readPieces<std::string>(length, [this](void *to, size_t n) { read(to, n); });
}

std::vector<uint8_t> ArchiveReader::readBytes(size_t count) {
    return readPieces<std::vector<uint8_t>>(count, [this](void *to, size_t n) { read(to, n); });
}

std::string ArchiveReader::readWideString() {
    const uint32_t characters = readLength();
    if (characters == UINT32_MAX) throw CEngineException("The archive \"" + path_ + "\" has a malformed string");
    std::u16string units;
    for (uint32_t i = 0; i < characters; ++i) units.push_back(readValue<char16_t>());
    return utf16ToUtf8(units);
}

ArchiveDate ArchiveReader::readDate() {
    ArchiveDate date;
    const int32_t status = readInt32();
    date.value = readValue<double>();
    if (status < 0 || status > 2) throw CEngineException("The archive \"" + path_ + "\" has a malformed date");
    date.status = static_cast<ArchiveDateStatus>(status);
    return date;
}

int32_t ArchiveReader::readCount() {
    const int32_t count = readInt32();
    if (count < 0) throw CEngineException("The archive \"" + path_ + "\" has a malformed count");
    return count;
}

}  // namespace eng
