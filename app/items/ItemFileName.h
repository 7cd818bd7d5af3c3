#pragma once

#include <QString>

struct ItemRow;

// The name a stored file takes on disk: the "name" parameter of its content
// type, else the last segment of its address's path, else its host followed
// by ".html", else "Default1.html". An HTML file without an extension gets
// ".html"; characters no file name may hold become "_".
QString itemFileName(const ItemRow &row);
