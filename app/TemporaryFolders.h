#pragma once

#include <QString>

// The folder of the temporary folder where files dragged out of an item view
// to another program are exported.
QString itemExportFolder();

// Removes the folders the program writes into the system's temporary folder
// ("LarkTMP" for page sources, "TaskExportTemp" and "ItemExportTemp" for
// exports opened from the views), with all they hold; failures are ignored.
void removeTemporaryFolders();
