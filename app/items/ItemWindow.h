#pragma once

#include <cstdint>
#include <optional>

#include <QWidget>

#include "RecordBuffer.h"
#include "views/TaskRow.h"

class ItemListFrame;
class KestProject;
class QAction;
class QLabel;
class QSplitter;
class RelatedFilesPanel;

// The Files List window of a task: the task's stored files in an item list,
// filtered by file type with a button per type, the "Link Explorer" panel
// of the selected file's related files below it, and a status line of
// counts and sizes. It follows the engine's item notifications, closes when
// its task is deleted or the project closes, and takes the task's new name.
class ItemWindow : public QWidget {
    Q_OBJECT

public:
    ItemWindow(KestProject &project, const TaskRow &task, QWidget *parent = nullptr);
    ~ItemWindow() override;
    // A window over files that belong to no task (search results): without
    // type buttons, filled by load().
    explicit ItemWindow(KestProject &project, QWidget *parent = nullptr);

    uint32_t task() const { return task_; }
    QString caption() const { return caption_; }
    ItemListFrame &list() const { return *list_; }
    RelatedFilesPanel &relatedFiles() const { return *related_; }
    // A file-type button by its caption ("HTML", "GIF", ...).
    QAction *typeButton(const QString &caption) const;
    QAction *linkExplorer() const { return linkExplorer_; }
    QString statusText() const;

    // Opens the list: for a task of more than 1000 files, first asks whether
    // to show only its HTML files.
    void start(const TaskRow &task);
    // Loads the task's files that pass the type buttons; above 300 files under
    // a progress dialog whose Cancel keeps the rows loaded so far.
    void reload();
    // Shows the files of the pairs in their order, as reload() does.
    void load(const eng::client::RecordBuffer<eng::client::ItemResource> &pairs);
    // Shows or hides the related files: at the height the user last gave them, else a third of the window's.
    void showRelatedFiles(bool shown);

signals:
    void captionChanged();

private:
    ItemWindow(KestProject &project, uint32_t task, const QString &caption, QWidget *parent);
    void buildToolBar();
    void updateStatus();
    void followSelection();
    // Selects the related file's row in the list, when the list has it.
    bool selectInList(uint32_t resource);
    // The panel's height as the user drags it, written to the settings once
    // the panel hides or the window goes, not on every move of the drag.
    void keepPanelHeight();
    void storePanelHeight();

    KestProject &project_;
    uint32_t task_;
    QString caption_;
    ItemListFrame *list_;
    RelatedFilesPanel *related_;
    QSplitter *splitter_;
    QLabel *status_;
    QList<QAction *> typeButtons_;
    QAction *linkExplorer_ = nullptr;
    int draggedHeight_ = 0;  // not yet stored
    // While loading: the files expected, those read so far and their size.
    struct Loading {
        int expected = 0;
        int loaded = 0;
        uint64_t size = 0;
    };
    std::optional<Loading> loading_;
};
