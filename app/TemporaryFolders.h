#pragma once

// Removes the folders the program writes into the system's temporary folder
// ("LarkTMP" for page sources, "TaskExportTemp" and "ItemExportTemp" for
// exports opened from the views), with all they hold; failures are ignored.
void removeTemporaryFolders();
