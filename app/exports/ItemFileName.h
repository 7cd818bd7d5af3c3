#pragma once

#include <functional>

#include <QString>

// The names under which stored files are saved to disk.

// The file name of a stored file: the "NAME" parameter of its content type,
// else the last segment of its address's path, else the host followed by
// ".html", else "Default1.html". An HTML file without an extension gets
// ".html"; the characters that no file name may hold become "_".
QString itemFileName(const QString &address, const QString &contentType, bool html);

// The name with the next counter before its extension: a name ending in
// "[n]" gets n + 1, any other "[1]" ("page.html" -> "page[1].html").
QString countedName(const QString &name);

// The path itself while exists() says it is free, else the first counted
// name in its folder that is.
QString freePath(const QString &path, const std::function<bool(const QString &)> &exists);
// freePath() against the files on disk.
QString freePath(const QString &path);
