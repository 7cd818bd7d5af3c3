#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "Favorites.h"

// The address of a link file: after a line "[InternetShortcut]" (a ".url"
// file) or "[Desktop Entry]" (a ".desktop" file), in any letter case, the
// first line beginning with "URL=" before the next section. Nothing when
// the file has no such line.
std::optional<QString> shortcutAddress(const QByteArray &content);

// A folder of link files read as favourites: each subfolder a folder of the
// same name, each file with an address a link named by the file's name
// (extension included). Files without an address, files larger than
// kFavoriteFileBytes and symbolic links are left out; folders deeper than
// kFavoriteDepth are not read. The top folder has the folder's name.
FavoriteFolder readShortcutFolder(const QString &path);
