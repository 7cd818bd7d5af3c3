#pragma once

#include <cstdint>

#include <QString>
#include <QStringList>

class KestProject;
class QWidget;

// The folder every project has; tasks go there until a folder can be chosen.
inline constexpr uint32_t kRootFolder = 1;

// Asks the question with OK and Cancel; true for OK.
bool confirmed(QWidget *parent, const QString &question);

// Tells the user what creating a task gave, when it failed: -5 "Invalid
// starting URL.", 0 "Couldn't create task.". True for a new task.
bool reportTaskResult(QWidget *parent, int result);

// The folder names from the root down to the folder, joined by backslashes.
QString folderPath(uint32_t folder);

// Asks whether to queue the links (offline addresses), then queues each.
void enqueueLinks(QWidget *parent, KestProject &project, const QStringList &links);
// Asks whether to create tasks for the links (offline addresses), then
// creates one in the root folder for each address that has none yet, and
// says how many were not created.
void createTasksForLinks(QWidget *parent, KestProject &project, const QStringList &links);

// Creates a task of depth 0 in the folder for each address (an offline
// address is unwrapped), as a drop of addresses does; a single text that is
// no address is refused with a message. The number of tasks created.
int createTasksForAddresses(QWidget *parent, KestProject &project, const QStringList &addresses, uint32_t folder);

// Asks whether to create a task for the address in the folder (warning when
// one exists already), then creates it and reports the result.
void askAndCreateTask(QWidget *parent, KestProject &project, const QString &address, uint32_t folder);
