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
    bool showOnlinePrompt = true;  // offline, a new task offers to go online
    bool showOnlinePrompt2 = true;
    bool showCursorOnLink = false;  // links the project lacks get the waiting cursor
    bool highlightingLink = false;  // ... and are coloured
    bool showHintOnLinks = false;   // ... and say so in their title
    bool allowOpenInNewWin = true;
    bool allowNewWinAtClosing = false;
    bool autoUnDock = false;  // page scripts may undock, move and resize browser windows
    bool allowCloseFromScript = true;
    int viewStyle = 3;  // of every list: large icons, small icons, list, details (0-3)
    bool showToolBarLabels = true;  // toolbar buttons show their captions under their pictures
};
