#pragma once

#include <QByteArray>

#include "Favorites.h"

// Reads a bookmarks file in the HTML form that browsers export: each
// "<H3>" names a folder whose "<DL>" list follows, each "<A HREF>" is a
// bookmark. Names and addresses are plain text (markup dropped, entities
// decoded). Folders nested deeper than kFavoriteDepth are flattened into
// the deepest one kept. The top folder has no name.
FavoriteFolder readBookmarksHtml(const QByteArray &html);
