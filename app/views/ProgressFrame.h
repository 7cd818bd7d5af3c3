#pragma once

#include <optional>

#include <QTimer>
#include <QWidget>

#include "views/TaskRow.h"

class DownloadListModel;
class KestProject;
class QAction;
class QLabel;
class QPlainTextEdit;
class QSpinBox;
class QStackedWidget;
class QTreeView;

// The progress pane: the downloads in flight (shown only while online), the
// commands on them, the project's connection limits, and on a tab of its own
// the notes of the selected task, which are written back when changed.
class ProgressFrame : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLimitsDelay = 500;  // milliseconds after the last change

    ProgressFrame(KestProject &project, QWidget *parent);

    DownloadListModel &model() const { return *model_; }
    QTreeView &view() const { return *view_; }
    QSpinBox &maxConnections() const { return *maxConnections_; }
    QSpinBox &perServer() const { return *perServer_; }
    QPlainTextEdit &notes() const { return *notes_; }
    // The commands by their captions ("Abort", "Create Task").
    QAction *command(const QString &caption) const;

    // The task whose notes show; nothing clears the notes.
    void showTask(const std::optional<TaskRow> &task);

signals:
    // The user's connection limits were given to the project.
    void limitsWritten(int connections, int perServer);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildProgressTab();
    QWidget *buildNotesTab();
    void updateCommands();
    void abortSelected();
    void createTasks();
    void followProject();
    void showLimits();
    void limitsChanged();
    void writeLimits();
    void taskChanged(const TaskRow &task);
    void storeNotes();

    KestProject &project_;
    DownloadListModel *model_;
    QTreeView *view_;
    QStackedWidget *listOrOffline_;
    QSpinBox *maxConnections_;
    QSpinBox *perServer_;
    QPlainTextEdit *notes_;
    QLabel *noTask_;
    QAction *abort_;
    QAction *createTask_;
    QTimer limitsTimer_;
    QTimer elapsedTimer_;
    std::optional<TaskRow> task_;
    bool notesChanged_ = false;
};
