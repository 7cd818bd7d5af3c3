#include "TemporaryFolders.h"

#include <QDir>

void removeTemporaryFolders() {
    for (const char *name : {"LarkTMP", "TaskExportTemp", "ItemExportTemp"})
        QDir(QDir::temp().filePath(QLatin1String(name))).removeRecursively();
}
