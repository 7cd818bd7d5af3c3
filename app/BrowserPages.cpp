#include "BrowserPages.h"

#include <algorithm>

#include "BrowserPage.h"

BrowserPages &BrowserPages::instance() {
    static BrowserPages pages;
    return pages;
}

void BrowserPages::remove(BrowserPage *page) { std::erase(pages_, page); }

void BrowserPages::documentAnswered(const QUrl &url, bool statusPage) {
    for (BrowserPage *page : pages_)
        if (page->requestedDocument() == url) page->documentAnswered(url, statusPage);
}

bool BrowserPages::takeRefresh(const QUrl &url) {
    return std::any_of(pages_.begin(), pages_.end(), [&](BrowserPage *page) { return page->takeRefresh(url); });
}
