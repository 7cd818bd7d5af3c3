#include "TemporaryFolders.h"

#include <QDir>

QString itemExportFolder() { return QDir::temp().filePath(QStringLiteral("ItemExportTemp")); }

void removeTemporaryFolders() {
    for (const char *name : {"LarkTMP", "TaskExportTemp", "ItemExportTemp"})
        QDir(QDir::temp().filePath(QLatin1String(name))).removeRecursively();
}
