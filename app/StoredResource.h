#pragma once

#include <cstdint>
#include <optional>

#include <QString>

// What the engine holds for an address: its latest URL resource, whether
// fetched or still queued.
struct StoredResource {
    uint32_t id = 0;
    bool done = false;  // fetched, successfully or not
    bool failed = false;
    uint32_t size = 0;
    uint8_t state = 0;  // the crawl state
    QString title;      // of a stored page; empty when it has none

    // What a link hint says of it: "Retrieved N bytes" for a good copy, else
    // the state's name.
    QString hint() const;
};

// The resource of an address closest to now; nothing when the engine has none.
std::optional<StoredResource> storedResource(const QString &address);
