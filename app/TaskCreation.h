#pragma once

#include <QString>

class KestProject;
class QWidget;

// Tells the user what creating a task gave, when it failed: -5 "Invalid
// starting URL.", 0 "Couldn't create task.". True for a new task.
bool reportTaskResult(QWidget *parent, int result);

// The folder names from the root down to the folder, joined by backslashes.
QString folderPath(uint32_t folder);

// Asks whether to create a task for the address in the folder (warning when
// one exists already), then creates it and reports the result.
void askAndCreateTask(QWidget *parent, KestProject &project, const QString &address, uint32_t folder);
