#pragma once

#include <QObject>

#include "GuiFixture.h"
#include "MainForm.h"

// The base of a GUI test class: its fixture, and short ways to what the
// tests use of it.
class GuiTestCase : public QObject {
protected:
    QString url(const QString &path) const { return fixture_.url(path); }
    MainForm &form() const { return fixture_.form(); }
    BrowserForm *browser() const { return fixture_.browser(); }

    gui_test::GuiFixture fixture_;
};
