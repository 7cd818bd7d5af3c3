#pragma once

#include <cstdint>

#include <QTreeWidget>

class KestProject;
class FolderPropertiesWindow;
class QAction;

// The pane that shows the project's folders and selects the one whose tasks
// the task list shows. A folder's subfolders are read when it is first
// expanded. It creates, renames, deletes, cuts and pastes folders, moves
// them by dragging, and takes drops and pastes of tasks and addresses into
// the folder they land on.
class FolderTree : public QTreeWidget {
    Q_OBJECT

public:
    FolderTree(KestProject &project, QWidget *parent);

    QAction *command(const QString &name) const;
    const QList<QAction *> &commands() const { return commands_; }
    // The node of a folder, when it is loaded; null otherwise.
    QTreeWidgetItem *itemOf(uint32_t folder) const;
    uint32_t selectedFolder() const;
    // Selects the folder's node (loading the nodes above it as needed).
    void selectFolder(uint32_t folder);

    void newFolder();
    void deleteFolder();
    void cut();
    void paste();
    void expandAll();
    // Opens the Folder Properties window of the selected folder.
    FolderPropertiesWindow *showProperties();
    // Renames the folder, as editing its node's text does; true when the engine did.
    bool renameFolder(uint32_t folder, const QString &name);

protected:
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;
    Qt::DropActions supportedDropActions() const override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    // What lands on a node (the parent) goes to the folder's receiver.
    bool dropMimeData(QTreeWidgetItem *parent, int index, const QMimeData *data, Qt::DropAction action) override;

private:
    void buildCommands();
    QAction *addCommand(const QString &name, const QString &caption, const QKeySequence &key = {});
    void bind();
    QTreeWidgetItem *addNode(QTreeWidgetItem *parent, uint32_t folder, const QString &name, uint32_t subfolders);
    void loadChildren(QTreeWidgetItem *item);
    void renamed(QTreeWidgetItem *item);
    void followMove(uint32_t folder, uint32_t parent);
    // A folder made elsewhere gets its node when its parent's children are loaded.
    void followCreate(uint32_t folder, uint32_t parent, const QString &name);
    void updateCommands();
    // Deletes the folder's subfolders and tasks, then the folder; true when the folder went.
    bool deleteRecursively(uint32_t folder);
    // Whether a drag may land on the node.
    bool acceptsDrop(const QTreeWidgetItem *target, const QMimeData &data) const;

    KestProject &project_;
    QList<QAction *> commands_;
    QTreeWidgetItem *hovered_ = nullptr;
    int hoverMoves_ = 0;
    bool filling_ = false;
};
