#pragma once

#include "search/WordSplitter.h"
#include "store/CIndexTable.h"
#include "store/CUrlResTable.h"

namespace eng {

// Keeps the title word index in step with the stored pages: a page's title
// words (see WordSplitter) are rows of its body numbered from 1. Told of every
// page resource stored (before null), changed, or deleted (now null).
class TitleIndex {
public:
    TitleIndex(CTitleIndexTable &table, const WordSplitter &splitter) : table_(table), splitter_(splitter) {}

    void update(const UrlResRow *now, const UrlResRow *before);

private:
    void add(const UrlResRow &page);
    void remove(const UrlResRow &page);

    CTitleIndexTable &table_;
    const WordSplitter &splitter_;
};

}  // namespace eng
