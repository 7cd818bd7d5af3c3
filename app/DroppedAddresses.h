#pragma once

#include <QStringList>

class QMimeData;

// The addresses dropped from another program: the links dragged, an
// internet shortcut file's address, another file's own path, or the lines of
// a text.
QStringList droppedAddresses(const QMimeData &data);
