#include "ShortcutFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

bool isSection(const QByteArray &line) { return line.startsWith('['); }

FavoriteFolder readFolder(const QDir &dir, int depth) {
    FavoriteFolder folder{dir.dirName(), {}, {}};
    if (depth > kFavoriteDepth) return folder;
    constexpr QDir::Filters kNoLinks = QDir::NoDotAndDotDot | QDir::NoSymLinks | QDir::Readable;
    for (const QFileInfo &sub : dir.entryInfoList(QDir::Dirs | kNoLinks, QDir::Name))
        folder.folders.push_back(readFolder(QDir(sub.filePath()), depth + 1));
    for (const QFileInfo &file : dir.entryInfoList(QDir::Files | kNoLinks, QDir::Name)) {
        if (file.size() > kFavoriteFileBytes) continue;
        QFile content(file.filePath());
        if (!content.open(QIODevice::ReadOnly)) continue;
        if (const auto address = shortcutAddress(content.readAll()))
            folder.links.push_back({file.fileName(), *address});
    }
    return folder;
}

}  // namespace

std::optional<QString> shortcutAddress(const QByteArray &content) {
    bool inSection = false;
    for (QByteArray line : content.split('\n')) {
        line = line.trimmed();
        if (isSection(line)) {
            const QByteArray name = line.toLower();
            inSection = name == "[internetshortcut]" || name == "[desktop entry]";
        } else if (inSection && line.left(4).toUpper() == "URL=") {
            return QString::fromUtf8(line.mid(4)).trimmed();
        }
    }
    return std::nullopt;
}

FavoriteFolder readShortcutFolder(const QString &path) { return readFolder(QDir(path), 0); }
