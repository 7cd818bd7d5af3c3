#pragma once

#include <optional>

#include <QDialog>

#include "views/TaskRow.h"

class FilterEditor;
class KestProject;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class QTabWidget;

// The New Task and Task Properties dialog: the start address, depth and
// name ("General"), the filter ("Filters"), referrer, user agent and the
// low-graphics choice ("Advanced Options") and the notes ("Notes"). OK
// checks the filter, the address and the depth, and only then creates or
// writes the task; bad input keeps the dialog open on the page at fault.
class NewTaskDialog : public QDialog {
    Q_OBJECT

public:
    // Creates a task in the folder: its identifier, 0 when cancelled.
    static int create(QWidget *parent, KestProject &project, const QString &address, int depth, uint32_t folder);
    // Edits the task's properties, opened on the page (0 "General", 1
    // "Filters", ...): true when they were written.
    static bool edit(QWidget *parent, KestProject &project, const TaskRow &task, int page = 0);
    // Edits the settings that several tasks share (filter, depth, acceptable
    // age), shown and written for one of them: true when they were written.
    static bool editSeveral(QWidget *parent, KestProject &project, const TaskRow &task);

    NewTaskDialog(KestProject &project, std::optional<TaskRow> editing, QWidget *parent);
    // In create mode, the task made.
    int createdTask() const { return created_; }

    void accept() override;

private:
    QWidget *generalPage();
    QWidget *advancedPage();
    void showTask(const TaskRow &task);
    void normaliseAddress();
    void showUserAgent(const QString &agent);
    QString userAgent() const;
    // The task the fields describe; nothing when a field is at fault (the user was told).
    std::optional<TaskRow> fields();
    void failOn(QWidget *page, QWidget *field);

    KestProject &project_;
    std::optional<TaskRow> editing_;
    uint32_t folder_ = 0;
    int created_ = 0;
    QTabWidget *pages_;
    QWidget *general_;
    QLineEdit *address_;
    QLineEdit *depth_;
    QLineEdit *name_;
    QCheckBox *newVersion_;
    FilterEditor *filter_;
    QLineEdit *referer_;
    QRadioButton *explorer_;
    QComboBox *explorerVersion_;
    QRadioButton *otherAgent_;
    QComboBox *otherAgentText_;
    QCheckBox *lowGraphics_;
    QPlainTextEdit *notes_;
};
