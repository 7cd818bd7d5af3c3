#pragma once

#include <cstdint>
#include <vector>

#include <QString>

class KestProject;
class QWidget;

// Save Task(s) As: asks for the export's parameters ("Export Task"), then
// exports the tasks one by one with progress; tasks with no retrieved file
// are left out. When no task holds more than one retrieved file, only those
// files are written, as pages with ".html". Says how many tasks were not
// exported. The number exported.
int saveTasksAs(QWidget *parent, KestProject &project, const std::vector<uint32_t> &tasks);

// What exporting tasks into a folder did.
struct TaskExportResult {
    int exported = 0;
    QString firstName;  // of the first task exported
    bool cancelled = false;
};

// Exports the tasks into the folder (ending in "/") with the options and
// name length, following the progress in a dialog of its own.
TaskExportResult exportTasks(QWidget *parent, KestProject &project, const std::vector<uint32_t> &tasks,
                             const QString &folder, uint32_t options, uint32_t nameLength);
