#include "TemporaryFolders.h"

#include <QDir>

namespace {
constexpr const char *kItemExport = "ItemExportTemp";

QString inTemporaryFolder(const char *name) { return QDir::temp().filePath(QLatin1String(name)); }
}  // namespace

QString itemExportFolder() { return inTemporaryFolder(kItemExport); }

void removeTemporaryFolders() {
    for (const char *name : {"LarkTMP", "TaskExportTemp", kItemExport})
        QDir(inTemporaryFolder(name)).removeRecursively();
}
