#include "TaskRow.h"

#include <array>

#include "StatusTexts.h"

namespace {

uint32_t viewStateOf(const EngTaskRecord &record) {
    if (record.state == ENG_TASK_ACTIVE) return TaskRow::Queued;
    if (record.state == ENG_TASK_COMPLETE) return record.error ? TaskRow::Failed : TaskRow::Ok;
    return record.state;
}

constexpr int kCaptionLength = 200;

}  // namespace

TaskRow TaskRow::fromRecord(const EngTaskRecord &record) {
    TaskRow row;
    row.id = record.id;
    row.folder = record.folder;
    row.depth = record.depth;
    row.state = viewStateOf(record);
    row.retrieved = record.retrieved;
    row.queued = record.queued;
    row.size = record.size;
    row.errorCount = record.errorCount;
    row.transportErrorCount = record.transportErrorCount;
    row.type = record.type;
    row.failed = record.error != 0;
    row.lowGraphics = record.lowGraphics != 0;
    row.followRedirects = record.followRedirects != 0;
    row.acceptableAge = record.acceptableAge;
    row.created = record.created;
    row.done = record.done;
    row.url = recordText(record.url);
    row.formData = recordText(record.formData);
    row.name = recordText(record.name);
    row.note = recordText(record.note);
    row.userAgent = recordText(record.userAgent);
    row.referer = recordText(record.referer);
    row.contentType = recordText(record.contentType);
    row.result = status_texts::resultText(recordText(record.errorText), row.failed, record.status);
    row.filter = record.filter ? QByteArray(record.filter) : QByteArray();
    return row;
}

QString TaskRow::caption() const {
    return name.size() > kCaptionLength ? name.left(kCaptionLength) + QStringLiteral("...") : name;
}

QString recordText(const char *field) { return field ? QString::fromUtf8(field) : QString(); }

QString viewStateName(uint32_t state) {
    static const std::array<QString, 8> names = {QStringLiteral("Not Retrieved"),
                                                 QStringLiteral("Not accepted"),
                                                 QStringLiteral("Done"),
                                                 QStringLiteral("Queued"),
                                                 QStringLiteral("Downloading"),
                                                 QStringLiteral("Stopped"),
                                                 QStringLiteral("Ok"),
                                                 QStringLiteral("Error")};
    return state < names.size() ? names[state] : QString();
}

QString groupedNumber(uint64_t value) {
    QString digits = QString::number(value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, u',');
    return digits;
}

QDateTime engineDate(double days) {
    static const QDateTime origin(QDate(1899, 12, 30), QTime(0, 0));
    return origin.addMSecs(static_cast<qint64>(days * 86400000.0));
}

QString dateText(double days) {
    return days == 0 ? QString() : engineDate(days).toString(QStringLiteral("MM/dd/yyyy hh:mm:ss"));
}
