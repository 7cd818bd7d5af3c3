#pragma once

#include <QPoint>
#include <QString>

class QWebEnginePage;
struct ProgramOptions;

// How a link under the mouse is marked when the options ask for it: a link
// to a stored page gets the hand cursor and blue, one the project lacks the
// waiting cursor and red, and with hints its title says which it is.
struct LinkMark {
    bool stored = false;
    QString hint;  // the title to give it; empty for none
};

// Marks the A element under the point (in the view's pixels) of the page,
// looking into frames. The script runs apart from the page's own scripts,
// which neither see nor replace what it uses.
void markLinkAt(QWebEnginePage &page, QPoint at, const LinkMark &mark, const ProgramOptions &options);
