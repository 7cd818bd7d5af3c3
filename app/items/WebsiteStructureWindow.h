#pragma once

#include <cstdint>

#include <QDateTime>
#include <QUrl>
#include <QWidget>

#include "views/TaskRow.h"

class DirectoryModel;
class ItemCommands;
class ItemListFrame;
class KestProject;
class QLabel;
class QTabWidget;
class QTreeView;
class RelatedFilesPanel;
class SitemapModel;
struct ItemChange;
struct ItemRow;

// The structure of one task's website, a page of the main window captioned
// with the task's name: the tab "Directory" shows every file of the task in
// folders by address, the tab "Sitemap" the link tree from the task's main
// file. Below each tree the related files of its selected file follow the
// selection. While the window is open, new files of the task appear in the
// directory and deleted ones leave it. The window closes when its task is
// deleted or the project closes, and follows the task's new name.
class WebsiteStructureWindow : public QWidget {
    Q_OBJECT

public:
    WebsiteStructureWindow(KestProject &project, const TaskRow &task, QWidget *parent = nullptr);
    ~WebsiteStructureWindow() override;

    uint32_t task() const { return task_; }
    const QString &caption() const { return caption_; }
    QTabWidget &tabs() const { return *tabs_; }
    QTreeView &directoryView() const { return *directoryView_; }
    QTreeView &sitemapView() const { return *sitemapView_; }
    DirectoryModel &directory() const { return *directory_; }
    SitemapModel &sitemap() const { return *sitemap_; }
    // The related files under the directory tree and under the sitemap.
    RelatedFilesPanel &directoryPanel() const { return *directoryPanel_; }
    RelatedFilesPanel &sitemapPanel() const { return *sitemapPanel_; }
    // The status bar's text: of the tree shown now, or of the related files
    // list last chosen in its panel.
    QString statusText() const;

    // The file commands of the directory tree and of the sitemap.
    ItemCommands &directoryCommands() const { return *directoryCommands_; }
    ItemCommands &sitemapCommands() const { return *sitemapCommands_; }

signals:
    void captionChanged(const QString &caption);
    void openRequested(const QString &address, uint32_t task, const QDateTime &stamp, bool newWindow,
                       const QString &formData);
    // One of the program's own pages, to be shown in a new window.
    void infoPageRequested(const QUrl &page);

private:
    QTreeView *makeTree(const QString &name);
    // The file commands of a tree, on its current file, and its menu of them.
    ItemCommands *makeCommands(QTreeView *tree);
    // The tab of a tree with its related files below it.
    void addPage(const QString &caption, QTreeView *tree, RelatedFilesPanel *panel, ItemCommands *commands);
    // A file of a directory panel's list is chosen in the tree when it is there: true then.
    bool selectInDirectory(const ItemRow &file);
    void follow(const ItemChange &change);
    // The current file of the tree; null without one.
    const ItemRow *fileOf(const QTreeView &tree) const;
    // The selected file of the tree shown now; null without one.
    const ItemRow *selectedFile() const;
    void showStatus();

    KestProject &project_;
    uint32_t task_;
    QString caption_;
    QTabWidget *tabs_;
    DirectoryModel *directory_;
    SitemapModel *sitemap_;
    QTreeView *directoryView_;
    QTreeView *sitemapView_;
    ItemCommands *directoryCommands_;
    ItemCommands *sitemapCommands_;
    RelatedFilesPanel *directoryPanel_;
    RelatedFilesPanel *sitemapPanel_;
    const ItemListFrame *statusList_ = nullptr;  // the related list whose selection the status shows
    QLabel *status_;
};
