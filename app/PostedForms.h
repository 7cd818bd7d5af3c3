#pragma once

#include <deque>
#include <utility>

#include <QByteArray>
#include <QString>

// The bodies of forms posted from stored pages, by the offline address they
// were posted to. The browser hands a "kiv:" request its method but not its
// body, so the body is kept here before the form is sent, and a POST request
// for the address (the submission, a reload or a step back to it) takes it
// from here. The latest body for an address wins; the oldest addresses are
// forgotten beyond a few dozen.
class PostedForms {
public:
    static constexpr qsizetype kMaxBody = 1 << 20;

    static PostedForms &instance();
    // False, keeping nothing, for a body larger than kMaxBody.
    bool remember(const QString &address, QByteArray body);
    // The body last posted to the address; empty when none was.
    QByteArray bodyFor(const QString &address) const;
    // A page fetched with form data, opened from the program's lists, is
    // loaded as any address is (a load cannot carry a body to the handler):
    // the next request for the address takes the body, whatever its method.
    bool openWith(const QString &address, QByteArray body);
    // The body waiting for the address's next request; empty when none is.
    QByteArray takeOpened(const QString &address);

private:
    static constexpr size_t kMaxForms = 32;
    std::deque<std::pair<QString, QByteArray>> forms_;  // the newest first
    std::pair<QString, QByteArray> opened_;             // one page is opened at a time
};
