#include "BrowserOptionsPage.h"

#include <QGroupBox>
#include <QVBoxLayout>

BrowserOptionsPage::BrowserOptionsPage(QWidget *parent) : OptionsPage(parent) {
    auto *layout = new QVBoxLayout(this);
    addCheck(layout, QStringLiteral("Open browser windows in tabs"), &ProgramOptions::openBrowserInTabs);

    auto *cursor = new QGroupBox(QStringLiteral(" Placing the cursor on a link that was not retrieved: "), this);
    auto *marks = new QVBoxLayout(cursor);
    addCheck(marks, QStringLiteral("Changes cursor to hour glass"), &ProgramOptions::showCursorOnLink);
    addCheck(marks, QStringLiteral("Highlights the link"), &ProgramOptions::highlightingLink);
    addCheck(marks, QStringLiteral("Displays a hint"), &ProgramOptions::showHintOnLinks);
    layout->addWidget(cursor);

    auto *scripts = new QGroupBox(QStringLiteral(" Script behavior: "), this);
    auto *allowed = new QVBoxLayout(scripts);
    addCheck(allowed, QStringLiteral("Allow scripts to open new browser windows"), &ProgramOptions::allowOpenInNewWin);
    addCheck(allowed, QStringLiteral("Allow scripts to open new windows on close"),
             &ProgramOptions::allowNewWinAtClosing);
    addCheck(allowed, QStringLiteral("Allow scripts to undock, resize, and move browser windows"),
             &ProgramOptions::autoUnDock);
    addCheck(allowed, QStringLiteral("Allow scripts to hide browser toolbars and menus"),
             &ProgramOptions::autoHideMenu);
    addCheck(allowed, QStringLiteral("Allow scripts to close browser windows"), &ProgramOptions::allowCloseFromScript);
    layout->addWidget(scripts);
    layout->addStretch();
}
