#pragma once

#include "store/CTable.h"

namespace eng {

// One word occurrence: the body (or titled page) and the word's position.
struct WordRow {
    uint32_t resId = 0;
    std::string word;
    uint32_t pos = 0;
};

// Table Index: word occurrences in stored bodies.
class CIndexTable : public CTable<WordRow> {
public:
    explicit CIndexTable(Database &db);

    bool empty();
    // For writing many rows at once: without the index on the words, which
    // is then built again over all rows in one pass.
    void dropWordLookup();
    void restoreWordLookup();
};

// Table Title_Index: word occurrences in page titles.
class CTitleIndexTable : public CTable<WordRow> {
public:
    explicit CTitleIndexTable(Database &db);
    std::vector<WordRow> wordsOf(uint32_t resId) { return rows(kPrimaryKey, {int64_t{resId}}); }
    void removeWordsOf(uint32_t resId) { removeAll(kPrimaryKey, {int64_t{resId}}); }
};

// Adds the indexes on the words of both word tables that the search reads
// through to a project file made before they were part of the template.
void addWordLookupIndexes(Database &db);

}  // namespace eng
