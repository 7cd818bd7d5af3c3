#include "FragmentLinks.h"

#include "OfflineAddressText.h"
#include "base/AsciiText.h"
#include "base/TagAttribute.h"
#include "base/Url.h"

QStringList fragmentLinks(const QString &documentAddress, const QString &fragment) {
    const QString page = wrappedAddress(documentAddress);
    const QString prefix = documentAddress.left(documentAddress.size() - page.size());
    const std::string base = page.toStdString(), html = fragment.toStdString();
    QStringList links;
    eng::forEachTag(html, [&](size_t, std::string_view tag) {
        if (tag.size() < 2 || eng::asciiLower(tag[0]) != 'a' || !eng::isAsciiWhite(tag[1])) return true;
        auto href = eng::tagAttributeValue(tag, "href");
        if (!href) return true;
        std::erase(*href, '"');
        if (const auto address = eng::url::combine(base, *href, eng::url::NoEncode)) {
            const QString link = prefix + QString::fromStdString(*address);
            if (!links.contains(link)) links << link;
        }
        return true;
    });
    return links;
}
