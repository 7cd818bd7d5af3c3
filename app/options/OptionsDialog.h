#pragma once

#include <QDialog>

#include "ProgramOptions.h"

class BrowserOptionsPage;
class GeneralOptionsPage;
class KestProject;
class OptionsPage;
class PingOptionsPage;
class ProxyOptionsPage;
class QPushButton;
class QTabWidget;

// The Options dialog: the program's options on four pages. "Apply" (enabled
// by any change) and OK store the fields into the option set and apply it
// to the open project; OK closes only when the project took them or no
// project is open. Cancel closes without storing. A host name being edited
// is given up first, and the dialog stays open.
class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    enum Page { General, Proxy, Ping, Browser };

    OptionsDialog(ProgramOptions &options, KestProject &project, Page page, QWidget *parent = nullptr);

    QTabWidget *pages() const { return pages_; }
    PingOptionsPage *pingPage() const { return ping_; }
    QPushButton *applyButton() const { return apply_; }

    void accept() override;

signals:
    void helpRequested();

private:
    // Stores and applies the fields; true when the project took them or none is open.
    bool save();
    std::vector<OptionsPage *> allPages() const;

    ProgramOptions &options_;
    KestProject &project_;
    QTabWidget *pages_;
    GeneralOptionsPage *general_;
    ProxyOptionsPage *proxy_;
    PingOptionsPage *ping_;
    BrowserOptionsPage *browser_;
    QPushButton *apply_;
};
