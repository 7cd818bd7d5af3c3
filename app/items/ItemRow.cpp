#include "ItemRow.h"

#include "StatusTexts.h"
#include "views/TaskRow.h"

namespace {

uint32_t viewStateOf(const EngUrlResRecord &resource) {
    if (resource.state == ENG_STATE_DONE) return resource.error ? TaskRow::Failed : TaskRow::Ok;
    return resource.state;
}

const QString &notAvailable() {
    static const QString text = QStringLiteral("n/a");
    return text;
}

QString dateOrNotAvailable(double days) { return days == 0 ? notAvailable() : dateText(days); }

}  // namespace

ItemRow ItemRow::fromRecords(const EngItemRecord &item, const EngUrlResRecord &resource) {
    ItemRow row;
    row.item = item.item;
    row.task = item.task;
    row.level = item.level;
    row.created = item.created;
    row.resource = resource.id;
    row.state = viewStateOf(resource);
    row.status = resource.status;
    row.failed = resource.error != 0;
    row.result = status_texts::resultText(recordText(resource.errorText), row.failed, resource.status);
    row.contentLength = resource.contentLength;
    row.size = resource.size;
    row.contentType = recordText(resource.contentType);
    row.lastModified = resource.lastModified;
    row.completed = resource.doneTime;
    row.type = resource.type;
    row.title = recordText(resource.title);
    row.formData = recordText(resource.formData);
    row.address = recordText(resource.url);
    return row;
}

bool ItemRow::retrieved() const { return state == TaskRow::Ok || state == TaskRow::Failed; }

uint32_t ItemRow::typeBit() const {
    switch (type) {
        case Html:
            return 1;
        case Gif:
            return 2;
        case Jpeg:
            return 4;
        case Bmp:
            return 8;
        case Text:
            return 16;
        default:  // 0, 5 and whatever else the engine may name
            return 32;
    }
}

QString ItemRow::caption() const {
    if (!hasResource()) return notAvailable();
    constexpr int kCaptionLength = 200;
    return title.size() > kCaptionLength ? title.left(kCaptionLength) + QStringLiteral("...") : title;
}

QString ItemRow::levelText() const { return QString::number(level); }

QString ItemRow::sizeText() const { return groupedNumber(size); }

QString ItemRow::contentTypeText() const { return hasResource() ? contentType : notAvailable(); }

QString ItemRow::modifiedText() const { return hasResource() ? dateOrNotAvailable(lastModified) : notAvailable(); }

QString ItemRow::completedText() const { return hasResource() ? dateOrNotAvailable(completed) : notAvailable(); }

QString ItemRow::createdText() const { return dateOrNotAvailable(created); }

QString ItemRow::resultText() const { return hasResource() ? result : notAvailable(); }

std::vector<ItemRow> itemRows(const eng::client::RecordBuffer<eng::client::ItemResource> &pairs) {
    std::vector<ItemRow> rows;
    rows.reserve(pairs.size());
    for (const auto &pair : pairs) rows.push_back(ItemRow::fromPair(pair));
    return rows;
}
