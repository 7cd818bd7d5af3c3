#pragma once

#include <QString>

// Filter expressions suggested for a start address: every address of its
// host ("http://*example.org*"), or of its directory
// ("http://*example.org/docs/*"). Only for http and https; any other text
// comes back as it is.
struct AddressSuggestions {
    QString host;
    QString directory;

    static AddressSuggestions of(const QString &address);
};
