#pragma once

#include <algorithm>
#include <cstdint>

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "engine.h"

// One task as the task list shows it: the values copied out of the engine's
// task record, and what the list derives from them (the view state, the
// result text, the texts of the columns).
struct TaskRow {
    // The states a row shows, by value: the item states of the browser.
    enum ViewState : uint32_t {
        NotRetrieved = 0,
        NotAccepted = 1,
        Done = 2,
        Queued = 3,
        Downloading = 4,
        Stopped = 5,
        Ok = 6,
        Failed = 7,
    };

    uint32_t id = 0;
    uint32_t folder = 0;
    uint32_t depth = 0;
    uint32_t state = 0;  // the view state
    uint32_t retrieved = 0;
    uint32_t queued = 0;
    uint32_t size = 0;
    uint32_t errorCount = 0;
    uint32_t transportErrorCount = 0;
    int32_t type = 0;
    bool failed = false;
    bool lowGraphics = false;
    bool followRedirects = false;
    double acceptableAge = 0;
    double created = 0;
    double done = 0;
    QString url;
    QString formData;
    QString name;
    QString note;
    QString userAgent;
    QString referer;
    QString contentType;
    QString result;
    QByteArray filter;  // entries ended by the byte 0xFF, so not text

    // The row of a task record; its strings are copied.
    static TaskRow fromRecord(const EngTaskRecord &record);

    // The name as the first column shows it: at most 200 characters, "..." after a longer one.
    QString caption() const;
    // What the "Retrieved" column counts: the files retrieved without error.
    uint32_t retrievedWell() const { return retrieved - std::min(retrieved, errorCount); }
    // The file-type group of the task (0 counts as 5), which picks its icon.
    int fileType() const { return type == 0 ? 5 : type; }
};

// A string field of an engine record as text; a null field is empty.
QString recordText(const char *field);
// The name of a view state ("Queued", "Ok", ...).
QString viewStateName(uint32_t state);
// A count with "," between groups of three digits: 1234567 gives "1,234,567".
QString groupedNumber(uint64_t value);
// An engine date (days since 30 December 1899, local time).
QDateTime engineDate(double days);
// An engine date as the list shows it, date and time; empty for 0.
QString dateText(double days);
