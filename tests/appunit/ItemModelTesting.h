#pragma once

#include <QApplication>

#include "items/ItemRow.h"
#include "views/TaskRow.h"

// The application object that models drawing icons need, without a display;
// made once for the test program.
inline void ensureOffscreenApplication() {
    if (QCoreApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "app_unit_tests";
    static char *argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

// A stored file of the resource at the address, as the item models get it.
inline ItemRow storedFile(uint32_t resource, const QString &address, uint32_t state = TaskRow::Ok,
                          int32_t type = ItemRow::Html, const QString &title = {}) {
    ItemRow row;
    row.resource = resource;
    row.address = address;
    row.state = state;
    row.type = type;
    row.title = title;
    return row;
}
