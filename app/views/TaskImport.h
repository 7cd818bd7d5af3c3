#pragma once

#include <vector>

#include <QByteArray>
#include <QString>

// A task read from an import file.
struct ImportedTask {
    QString url;
    QString formData;
    QByteArray filter;
    int depth = 0;
};

// The tasks of an import file. A file whose first line does not begin with
// "URL" (in any case) lists one address per line. Otherwise it is records of
// lines "URL=", "POST=", "FILTER=" (an entry for every kind of link) and
// "LEVELS=", each record ended by an empty line; a record without one after
// it is not read. Form data carries over to the records after it until
// another "POST" line.
std::vector<ImportedTask> readTaskImport(const QByteArray &text);
