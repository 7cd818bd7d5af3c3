#pragma once

#include "ProgramOptions.h"

// The view style of the lists, kept as its number and written by its name.
struct ViewStyleField {
    int &style;
};

// Calls visit(name, field) for every option, by the names they are stored
// under and in their stored order; a field is a bool, int, uint32_t or
// QString reference, or a ViewStyleField.
template <typename Options, typename Visit>
void visitOptionFields(Options &o, Visit &&visit) {
    visit("PingHosts", o.pingHosts);
    visit("EnablePing", o.enablePing);
    visit("ShowToolBarLabels", o.showToolBarLabels);
    visit("OpenBrowserInTabs", o.openBrowserInTabs);
    visit("OpenNewProjectAtStart", o.openNewProjectAtStart);
    visit("LaunchBrowserAtStart", o.launchBrowserAtStart);
    visit("ShowCursorOnLink", o.showCursorOnLink);
    visit("ViewStyle", ViewStyleField{o.viewStyle});
    visit("HighlightingLink", o.highlightingLink);
    visit("ShowHintOnLinks", o.showHintOnLinks);
    visit("AllowOpenInNewWin", o.allowOpenInNewWin);
    visit("AllowNewWinAtClosing", o.allowNewWinAtClosing);
    visit("AllowCloseFromScript", o.allowCloseFromScript);
    visit("AutoUnDock", o.autoUnDock);
    visit("AutoHideMenu", o.autoHideMenu);
    visit("DiskSize", o.diskSize);
    visit("ShowRefreshMessage", o.showRefreshMessage);
    visit("ShowOnlinePrompt", o.showOnlinePrompt);
    visit("ShowOnlinePrompt2", o.showOnlinePrompt2);
    visit("MaxConnections", o.maxConnections);
    visit("MaxConnPerServ", o.maxConnPerServ);
    visit("TimeOut", o.timeOut);
    visit("Retries", o.retries);
    visit("PAuseBetwConn", o.pauseBetwConn);
    visit("AccessType", o.accessType);
    visit("HttpProxy", o.httpProxy);
    visit("FtpProxy", o.ftpProxy);
    visit("RetrieveFromIECache", o.retrieveFromIECache);
    visit("GoToOnlineAfterOpen", o.goToOnlineAfterOpen);
    visit("ProjectFolder", o.projectFolder);
}
