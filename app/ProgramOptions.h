#pragma once

#include <cstdint>

// The program's options that the windows built so far follow, with their
// defaults; the options dialog that edits them comes later.
struct ProgramOptions {
    bool openBrowserInTabs = true;
    bool openNewProjectAtStart = false;
    bool launchBrowserAtStart = false;
    bool goToOnlineAfterOpen = false;
    uint32_t diskSize = 300;  // kilobytes of free disk space below which downloading stops
    bool showRefreshMessage = true;
    bool showOnlinePrompt2 = true;
    bool allowOpenInNewWin = true;
    bool allowCloseFromScript = true;
};
