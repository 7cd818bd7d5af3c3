#include "BookmarksFile.h"

#include <optional>

#include <QRegularExpression>

namespace {

// The text of an HTML fragment: tags dropped, the common entities decoded.
QString plainText(QString text) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression entity(QStringLiteral("&(#x[0-9a-fA-F]{1,6}|#[0-9]{1,7}|amp|lt|gt|quot|apos);"));
    text.remove(tag);
    QString out;
    qsizetype from = 0;
    for (auto it = entity.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += text.mid(from, match.capturedStart() - from);
        const QString name = match.captured(1);
        if (name == QStringLiteral("amp"))
            out += QLatin1Char('&');
        else if (name == QStringLiteral("lt"))
            out += QLatin1Char('<');
        else if (name == QStringLiteral("gt"))
            out += QLatin1Char('>');
        else if (name == QStringLiteral("quot"))
            out += QLatin1Char('"');
        else if (name == QStringLiteral("apos"))
            out += QLatin1Char('\'');
        else {
            const bool hex = name.startsWith(QStringLiteral("#x"));
            const uint code = name.mid(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
            if (code > 0 && code <= 0x10FFFF) out += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        }
        from = match.capturedEnd();
    }
    return (out + text.mid(from)).simplified();
}

}  // namespace

// An element is looked for only up to the next tag of its kind, so that a
// file of unclosed tags is read in time proportional to its size.
FavoriteFolder readBookmarksHtml(const QByteArray &html) {
    static const QRegularExpression token(
        QStringLiteral("<H3\\b[^<>]*>((?:[^<]|<(?!H3\\b))*?)</H3>|<A\\b([^<>]*)>((?:[^<]|<(?!A\\b))*?)</A>|"
                       "<DL\\b[^<>]*>|</DL\\s*>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression href(QStringLiteral("\\bHREF\\s*=\\s*(?:\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
                                         QRegularExpression::CaseInsensitiveOption);
    FavoriteFolder top;
    // The folder each open list fills, innermost last. A list after a
    // heading fills a new folder of that name; any other the folder around it.
    std::vector<FavoriteFolder *> lists;
    std::optional<QString> heading;
    const auto current = [&] { return lists.empty() ? &top : lists.back(); };
    const QString text = QString::fromUtf8(html);
    for (auto it = token.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QString whole = match.captured(0);
        if (whole.startsWith(QStringLiteral("<H3"), Qt::CaseInsensitive)) {
            heading = plainText(match.captured(1));
            continue;
        }
        if (whole.startsWith(QStringLiteral("<A"), Qt::CaseInsensitive)) {
            const QRegularExpressionMatch link = href.match(match.captured(2));
            if (link.hasMatch())
                current()->links.push_back(
                    {plainText(match.captured(3)), plainText(link.captured(1) + link.captured(2) + link.captured(3))});
        } else if (whole.startsWith(QStringLiteral("</"))) {
            if (!lists.empty()) lists.pop_back();
        } else {
            FavoriteFolder *around = current();
            // Ancestors sit in their parents' lists, which do not change while they are open.
            if (heading && lists.size() <= static_cast<size_t>(kFavoriteDepth)) {
                around->folders.push_back({*heading, {}, {}});
                around = &around->folders.back();
            }
            lists.push_back(around);
        }
        heading.reset();
    }
    return top;
}
