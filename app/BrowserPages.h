#pragma once

#include <vector>

#include <QUrl>

class BrowserPage;

// The browser pages that exist, so that an answered "kiv:" document can be
// told to the page that asked for it.
class BrowserPages {
public:
    static BrowserPages &instance();
    void add(BrowserPage *page) { pages_.push_back(page); }
    void remove(BrowserPage *page);
    // A main document was answered: with a status page of the program's own
    // (true) or with stored content.
    void documentAnswered(const QUrl &url, bool statusPage);
    // Whether a page asked for a fresh copy of the document (its user's Refresh).
    bool takeRefresh(const QUrl &url);

private:
    std::vector<BrowserPage *> pages_;
};
