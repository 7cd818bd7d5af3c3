#pragma once

class KestProject;
class QWidget;

// Exports the whole open project: asks for a folder ("Export project"),
// makes it, exports into it with progress and says how many files were
// written, or that the export failed. True when it was written.
bool exportProject(QWidget *parent, KestProject &project);
