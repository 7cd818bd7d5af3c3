#pragma once

#include <cstdint>
#include <vector>

#include <QString>

#include "ItemRow.h"

class KestProject;
class QWidget;

// What the item views do with stored files, each with its question and its
// report of what could not be done. The engine's notifications of the files
// (changed, deleted) are served between the calls, so the views follow.
namespace item_actions {

// Refreshes the fetched files (Ok or Error); says how many were not refreshed.
void refresh(QWidget *parent, const std::vector<ItemRow> &rows);
// Asks, then creates a task of depth 0 for each file in the folder; says how many were not created.
void createTasks(QWidget *parent, KestProject &project, const std::vector<ItemRow> &rows, uint32_t folder);
// Asks, then deletes the files; says how many were not deleted (a task's main file is refused).
void remove(QWidget *parent, const std::vector<ItemRow> &rows);
// Writes the file's stored text as "<file name>.txt" into the folder "LarkTMP"
// of the temporary folder: its path, empty when the file has no stored text
// or it could not be written.
QString writeSource(const ItemRow &row);
// Writes the stored text and opens it with the system's program for it.
void viewSource(QWidget *parent, const ItemRow &row);

}  // namespace item_actions
