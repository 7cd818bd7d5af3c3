#include "FavoritesImport.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "BookmarksFile.h"
#include "KestProject.h"
#include "NotificationWindow.h"
#include "ShortcutFolder.h"
#include "TaskCreation.h"

namespace {

std::optional<FavoriteFolder> readFavorites(const QString &path) {
    const QFileInfo source(path);
    if (source.isDir()) return readShortcutFolder(path);
    if (!source.isFile() || source.size() > kFavoriteFileBytes) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return readBookmarksHtml(file.readAll());
}

}  // namespace

FavoritesCount importFavorites(KestProject &project, const FavoriteFolder &favorites, uint32_t parent) {
    FavoritesCount count;
    for (const FavoriteFolder &sub : favorites.folders) {
        const uint32_t folder = project.createFolder(parent, sub.name);
        NotificationWindow::pump();
        if (folder == 0) continue;
        ++count.folders;
        const FavoritesCount inside = importFavorites(project, sub, folder);
        count.files += inside.files;
        count.folders += inside.folders;
    }
    for (const FavoriteLink &link : favorites.links) {
        project.createTask(link.address, 0, parent, link.name);
        ++count.files;
    }
    return count;
}

bool importFavoritesFrom(QWidget *parent, KestProject &project, const QString &path) {
    const std::optional<FavoriteFolder> favorites = readFavorites(path);
    const uint32_t folder = favorites ? project.createFolder(kRootFolder, QStringLiteral("Favorites")) : 0;
    if (folder == 0) {
        QMessageBox::critical(parent, QStringLiteral("Sitelark"), QStringLiteral("Can't import favorites"));
        return false;
    }
    const FavoritesCount count = importFavorites(project, *favorites, folder);
    QMessageBox::information(
        parent, QStringLiteral("Sitelark"),
        QStringLiteral("Favorites imported. Files: %1 Folders: %2").arg(count.files).arg(count.folders));
    return true;
}

bool importBookmarksFile(QWidget *parent, KestProject &project) {
    const QString path = QFileDialog::getOpenFileName(parent, QStringLiteral("Import Favorites"), QDir::homePath(),
                                                      QStringLiteral("Bookmarks (*.html *.htm);;All files (*)"),
                                                      nullptr, QFileDialog::DontUseNativeDialog);
    return !path.isEmpty() && importFavoritesFrom(parent, project, path);
}

bool importShortcutFolder(QWidget *parent, KestProject &project) {
    const QString path =
        QFileDialog::getExistingDirectory(parent, QStringLiteral("Import Favorites"), QDir::homePath(),
                                          QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    return !path.isEmpty() && importFavoritesFrom(parent, project, path);
}
