#pragma once

#include <cstdint>

class KestProject;
class QMimeData;
class QWidget;

// Whether the data can be dropped or pasted into a folder: the program's
// own transfer text, links or text.
bool acceptableTransfer(const QMimeData &data);

// Takes what was dropped or pasted into the folder. The program's own
// transfer text: tasks copied (new tasks with all their values) or moved
// from this project, or imported through the archives from another one;
// addresses and form data of items; a folder cut. Anything else is a list
// of addresses: each a task of depth 0 (with Shift held and one address,
// the New Task dialog instead). The number of tasks created or moved.
int receiveTransfer(QWidget *parent, KestProject &project, uint32_t folder, const QMimeData &data);
