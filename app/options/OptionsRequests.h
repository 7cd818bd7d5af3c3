#pragma once

#include <QObject>

// Requests to open the Options dialog or the project properties on a page,
// made where the dialogs' owner is out of reach (the scripting object of the
// program's own pages); the main window answers them. The program has one.
class OptionsRequests : public QObject {
    Q_OBJECT

public:
    static OptionsRequests &instance();

signals:
    // Pages as the dialogs number them (OptionsDialog::Page, ProjectPropertiesDialog::Page).
    void optionsRequested(int page);
    void projectPropertiesRequested(int page);
};
