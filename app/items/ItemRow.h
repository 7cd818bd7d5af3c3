#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "PackedRecords.h"
#include "RecordBuffer.h"

// One stored file as the item views show it: an item of a task with its URL
// resource, the values copied out of the engine's pair of records, and what
// the views derive from them.
struct ItemRow {
    // The file types the engine gives a resource, and the bits of the type
    // filter of a files list.
    enum FileType : int32_t { Other = 0, Html = 1, Gif = 2, Jpeg = 3, Bmp = 4, OtherToo = 5, Text = 6 };
    static constexpr uint32_t kAllTypes = 63;

    uint32_t item = 0;
    uint32_t task = 0;
    int32_t level = 0;
    double created = 0;
    uint32_t resource = 0;  // 0: the item has no URL resource
    uint32_t state = 0;     // the view state (TaskRow::ViewState)
    int32_t status = 0;
    QString result;
    uint32_t contentLength = 0;
    uint32_t size = 0;
    bool failed = false;
    QString contentType;
    double lastModified = 0;
    double completed = 0;
    int32_t type = 0;
    QString title;
    QString formData;
    QString address;

    // The row of a pair; its strings are copied.
    static ItemRow fromRecords(const EngItemRecord &item, const EngUrlResRecord &resource);
    static ItemRow fromPair(const eng::client::ItemResource &pair) { return fromRecords(pair.item, pair.resource); }

    bool hasResource() const { return resource != 0; }
    // Whether the file was fetched, well or not (view state Ok or Error).
    bool retrieved() const;
    // The bit of the type filter that this file's type falls under.
    uint32_t typeBit() const;
    // The file-type group that picks the icon (0 counts as 5), as for tasks.
    int fileType() const { return type == 0 ? 5 : type; }

    // The column texts: "n/a" where the item has no resource or a date is 0.
    QString caption() const;
    QString levelText() const;
    QString sizeText() const;
    QString contentTypeText() const;
    QString modifiedText() const;
    QString completedText() const;
    // When the item was queued; "n/a" for 0.
    QString createdText() const;
    QString resultText() const;
};

// The rows of an engine buffer of pairs, in the buffer's order.
std::vector<ItemRow> itemRows(const eng::client::RecordBuffer<eng::client::ItemResource> &pairs);
