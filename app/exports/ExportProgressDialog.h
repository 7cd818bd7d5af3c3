#pragma once

#include <functional>

#include <QDialog>
#include <QElapsedTimer>

#include "engine.h"

class KestProject;
class QLabel;
class QProgressBar;
class QPushButton;

// The progress of an export: the name of what is exported, the phase, a bar
// over the files, "File n of m" and the time elapsed and remaining, and for
// several tasks a bar over them with Cancel. It follows the project's
// export progress while its work runs, and cannot be closed meanwhile.
class ExportProgressDialog : public QDialog {
    Q_OBJECT

public:
    ExportProgressDialog(KestProject &project, const QString &caption, QWidget *parent);

    // Shows the name, cut to 40 characters.
    void setName(const QString &name);
    // Adds the bar over the tasks (or files) and, for more than one, Cancel.
    void showTotal(int count);
    void setTotalPosition(int done);
    // Whether Cancel was pressed; the work stops after its current step.
    bool cancelled() const { return cancelled_; }
    // The total of the last progress: the files of the last export.
    int files() const { return files_; }

    // Shows the dialog, then runs the work while it stays open; hides it after.
    void run(const std::function<void()> &work);

    // The progress as shown: phases 1 and 5 "Preparing", 6 "Exporting"; others are ignored.
    void showProgress(const EngExportProgressRecord &progress);

protected:
    void reject() override;

private:
    QElapsedTimer created_;
    QLabel *name_;
    QLabel *state_;
    QProgressBar *bar_;
    QLabel *file_;
    QLabel *elapsed_;
    QLabel *remaining_;
    QLabel *totalLabel_;
    QProgressBar *total_;
    QPushButton *cancel_;
    bool running_ = false;
    bool cancelled_ = false;
    int files_ = 0;
};
