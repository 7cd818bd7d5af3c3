#include "search/TitleIndex.h"

#include "store/CResTable.h"

namespace eng {

namespace {

bool titledPage(const UrlResRow *row) {
    return row && row->type == CResTable::kHtml && row->resId != 0 && !row->title.empty();
}

}  // namespace

void TitleIndex::update(const UrlResRow *now, const UrlResRow *before) {
    // A changed page keeps its rows only while both its title and its body
    // stay: a new body of the same page needs rows of its own.
    if (now && before && now->title == before->title && now->resId == before->resId && now->type == before->type)
        return;
    if (titledPage(before)) remove(*before);
    if (titledPage(now)) add(*now);
}

void TitleIndex::add(const UrlResRow &page) {
    uint32_t pos = 0;
    splitter_.forEachWord(page.title, [&](std::string_view word) {
        WordRow row{page.resId, std::string(word), ++pos};
        table_.add(row);
    });
}

void TitleIndex::remove(const UrlResRow &page) { table_.removeWordsOf(page.resId); }

}  // namespace eng
