#pragma once

#include <cstdint>
#include <string>

#include "store/CStrTable.h"

namespace eng {

// The handle that records hold for each of their string fields: the text
// (fetched from the string table on first use), its key once known, and its
// kind. Setting a text forgets the key; asking for the key interns the text.
class StringRef {
public:
    StringRef(CStrTable &table, StringKind kind, uint32_t key = 0) : table_(&table), kind_(kind), key_(key) {}

    const std::string &text();
    // Notes, filters and user texts are trimmed; addresses and form data are kept as given.
    void setText(std::string text);
    // Interns the text (adding it when new); 0 for an empty text.
    uint32_t key();
    // Refers to a stored string by its key; its text is read when first asked for.
    void setKey(uint32_t key);
    StringKind kind() const { return kind_; }

    // Makes the stored key match this reference: the new string gains a
    // reference and the old one loses one (and goes at zero). Returns the key.
    uint32_t replaceStored(uint32_t storedKey);

private:
    CStrTable *table_;
    StringKind kind_;
    uint32_t key_;
    std::string text_;
};

}  // namespace eng
