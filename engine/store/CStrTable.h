#pragma once

#include <string>
#include <string_view>

#include "store/CStrChunks.h"
#include "store/CTable.h"

namespace eng {

// Kinds of interned strings (Strings.Type).
enum class StringKind : uint8_t { Url = 1, FormData = 2, Note = 3, Filter = 4, UserText = 5 };

struct StrRow {
    uint32_t strId = 0;
    uint8_t type = 0;
    int32_t hash = 0;
    uint32_t refCount = 0;
    std::string text;
};

// Table Strings: every address, form data, note, filter and user text is
// stored once per kind and referred to by its key, with a reference count;
// texts longer than a row holds continue in StrChunks. Two texts are the same
// string when their normalised forms (image-button coordinates stripped) are
// equal byte for byte.
class CStrTable : public CTable<StrRow> {
public:
    // A row holds this much of a text; each chunk the next kChunkLength.
    static constexpr size_t kRowLength = 255;
    static constexpr size_t kChunkLength = 50;
    // Longer texts are stored cut to this length: a row and 256 full chunks.
    // Chunks end on character boundaries, so such a text may take more chunks.
    static constexpr size_t kMaxLength = kRowLength + 256 * kChunkLength;

    CStrTable(Database &db, CStrChunks &chunks);

    // The key of the text's string; 0 for an empty text, or when the text is
    // unknown and may not be added. A new string has no references yet.
    uint32_t intern(std::string_view text, StringKind kind, bool create);
    // The full text of a key; empty for 0 or a key without a row.
    std::string textOf(uint32_t strId);
    // The full text of the key whose row holds the text: the chunks are read
    // only when the row may continue in them.
    std::string completed(uint32_t strId, std::string rowText);
    // Counts one more reference; nothing happens for key 0 or a missing row.
    void addReference(uint32_t strId);
    // Returns the new count; at zero the string and its chunks are deleted.
    uint32_t release(uint32_t strId);

    // The hash of a text as strings are keyed: the URL hash of its normalised form.
    static int32_t hashOf(std::string_view text);

private:
    // True when a row's text may continue in chunks.
    static bool mayContinue(std::string_view rowText);
    uint32_t add(std::string_view text, StringKind kind, int32_t hash);

    CStrChunks &chunks_;
};

}  // namespace eng
