#pragma once

#include <vector>

#include <QString>

// The user's favourites as read from a browser's bookmarks file or a folder
// of link files: folders of named addresses, folders inside folders.
struct FavoriteLink {
    QString name;
    QString address;
};

struct FavoriteFolder {
    QString name;
    std::vector<FavoriteFolder> folders;
    std::vector<FavoriteLink> links;
};

// How deep favourites folders are read; deeper ones are left out.
inline constexpr int kFavoriteDepth = 32;
// The largest file read as favourites.
inline constexpr qint64 kFavoriteFileBytes = 16 * 1024 * 1024;
