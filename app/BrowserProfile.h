#pragma once

class QWebEngineProfile;

// The browser profile of the program's windows: nothing kept on disk, the
// "kiv:" and "qzinfo:" schemes served by the program, every other request
// turned offline. Created on first use.
QWebEngineProfile *browserProfile();

// Declares the program's own pages' scheme to the browser engine; before
// the application object exists.
void registerBrowserSchemes();
