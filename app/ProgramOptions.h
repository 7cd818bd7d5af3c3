#pragma once

#include <cstdint>

#include <QString>

// The program's options with their defaults, kept per user (OptionsStorage.h)
// and edited in the Options dialog. The connection, proxy, cache and ping
// values are copied into each open project's properties (OptionsApplication.h).
struct ProgramOptions {
    // The free-disk-space limit that means "no limit".
    static constexpr uint32_t kNoDiskLimit = 2147483647;

    QString pingHosts;  // host names, each followed by CR LF
    bool enablePing = false;
    bool showToolBarLabels = true;
    bool openBrowserInTabs = true;
    bool openNewProjectAtStart = false;
    bool launchBrowserAtStart = false;
    bool showCursorOnLink = false;  // links the project lacks get the waiting cursor
    int viewStyle = 3;              // lists as large icons, small icons, a list or details (0-3)
    bool highlightingLink = false;  // ... and are coloured
    bool showHintOnLinks = false;   // ... and say so in their title
    bool allowOpenInNewWin = true;
    bool allowNewWinAtClosing = false;
    bool allowCloseFromScript = true;
    bool autoUnDock = false;  // page scripts may undock, move and resize browser windows
    bool autoHideMenu = true;
    uint32_t diskSize = 300;  // kilobytes of free disk space below which downloading stops
    bool showRefreshMessage = true;
    bool showOnlinePrompt = true;  // offline, a new task offers to go online
    bool showOnlinePrompt2 = true;
    int maxConnections = 5;
    int maxConnPerServ = 2;
    int timeOut = 300;  // seconds
    int retries = 3;
    int pauseBetwConn = 0;
    int accessType = 0;  // 0 the system's proxy settings, 1 no proxy, 3 the proxies below
    QString httpProxy;   // "server:port:user name:password"
    QString ftpProxy;
    bool retrieveFromIECache = true;
    bool goToOnlineAfterOpen = false;
    QString projectFolder;  // where new projects go; empty until the stored options are read
};
