#pragma once

#include <vector>

#include <QString>

#include "items/ItemRow.h"

class KestProject;
class QWidget;

// Save As for stored files: asks where to (the item export dialog), then
// exports each selected file that was retrieved and has a body, with
// progress and Cancel; one file goes to the path chosen, several into the
// folder chosen, each under its file name. An existing file is never
// written over: the name gets a counter. Says how many were not exported.
// With a folder given, the files go there and the dialog does not ask
// where. The number of files exported.
int saveItemsAs(QWidget *parent, KestProject &project, const std::vector<ItemRow> &rows,
                const QString &folder = QString());

// The file name of a stored file as it is saved.
QString itemFileName(const ItemRow &row);
