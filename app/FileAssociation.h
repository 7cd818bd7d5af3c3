#pragma once

// Makes the program the opener of project files (".slk") for this user: a
// desktop entry and a MIME type in the user's data folder, written when they
// differ from what they should be. Failures are ignored.
void associateProjectFiles();
