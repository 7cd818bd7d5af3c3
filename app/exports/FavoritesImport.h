#pragma once

#include <cstdint>

#include "Favorites.h"

class KestProject;
class QWidget;

// What an import made.
struct FavoritesCount {
    int files = 0;    // links read
    int folders = 0;  // folders created
};

// Creates the favourites below the parent folder: each folder a project
// folder (before the links beside it), each link a task of depth 0 named
// by the link's name.
FavoritesCount importFavorites(KestProject &project, const FavoriteFolder &favorites, uint32_t parent);

// The "Import Favorites" commands: ask for a bookmarks file, or for a folder
// of link files, import it into a new folder "Favorites" below the root and
// say what was imported ("Can't import favorites" when nothing can be read).
// True when it imported.
bool importBookmarksFile(QWidget *parent, KestProject &project);
bool importShortcutFolder(QWidget *parent, KestProject &project);
// Imports the file or folder at the path, as the commands do once it is chosen.
bool importFavoritesFrom(QWidget *parent, KestProject &project, const QString &path);
