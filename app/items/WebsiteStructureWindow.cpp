#include "WebsiteStructureWindow.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "DirectoryModel.h"
#include "EngineLibrary.h"
#include "ItemChange.h"
#include "ItemCommands.h"
#include "ItemListFrame.h"
#include "ItemListModel.h"
#include "ItemRow.h"
#include "KestProject.h"
#include "RelatedFilesPanel.h"
#include "SitemapModel.h"

namespace {

using eng::client::ItemResource;
using eng::client::receiveRecords;
using eng::client::RecordBuffer;

std::vector<ItemRow> taskFiles(uint32_t task) {
    return itemRows(receiveRecords<ItemResource>(engine().Eng_FreeMem, engine().Eng_GetTaskItems, task));
}

std::vector<ItemRow> relatedFiles(uint32_t resource, int16_t group) {
    return itemRows(receiveRecords<ItemResource>(engine().Eng_FreeMem, engine().Eng_GetRelItems, resource, group));
}

// What a page embeds, then what it links to.
std::vector<ItemRow> linksOf(uint32_t resource) {
    std::vector<ItemRow> files = relatedFiles(resource, ENG_REL_EMBEDDED);
    for (ItemRow &linked : relatedFiles(resource, ENG_REL_HYPERLINKS)) files.push_back(std::move(linked));
    return files;
}

// The task's main file, as the engine has it by its resource.
std::optional<ItemRow> mainFile(uint32_t task) {
    const auto found = receiveRecords<ItemResource>(engine().Eng_FreeMem, engine().Eng_FindTaskItem, task, 0u);
    const std::optional<ItemResource> main = found.first();
    if (!main || main->resource.id == 0) return std::nullopt;
    const auto pair =
        receiveRecords<ItemResource>(engine().Eng_FreeMem, engine().Eng_GetItemFromUrlResID, main->resource.id);
    const std::optional<ItemResource> file = pair.first();
    return file ? std::optional<ItemRow>(ItemRow::fromPair(*file)) : std::nullopt;
}

QString captionOf(const TaskRow &task) { return task.name.isEmpty() ? task.url : task.caption(); }

}  // namespace

WebsiteStructureWindow::WebsiteStructureWindow(KestProject &project, const TaskRow &task, QWidget *parent)
    : QWidget(parent),
      project_(project),
      task_(task.id),
      caption_(captionOf(task)),
      tabs_(new QTabWidget(this)),
      directory_(new DirectoryModel(this)),
      sitemap_(new SitemapModel(linksOf, this)),
      directoryView_(makeTree(QStringLiteral("directoryTree"))),
      sitemapView_(makeTree(QStringLiteral("sitemapTree"))),
      directoryCommands_(makeCommands(directoryView_)),
      sitemapCommands_(makeCommands(sitemapView_)),
      directoryPanel_(new RelatedFilesPanel(project, this)),
      sitemapPanel_(new RelatedFilesPanel(project, this)),
      status_(new QLabel(this)) {
    setObjectName(QStringLiteral("websiteStructure"));
    setAttribute(Qt::WA_DeleteOnClose);
    directoryView_->setModel(directory_);
    sitemapView_->setModel(sitemap_);
    addPage(QStringLiteral("Directory"), directoryView_, directoryPanel_, directoryCommands_);
    addPage(QStringLiteral("Sitemap"), sitemapView_, sitemapPanel_, sitemapCommands_);
    for (int tab = 0; tab < directoryPanel_->count(); ++tab)
        directoryPanel_->list(tab).setDiverter([this](const ItemRow &file) { return selectInDirectory(file); });
    status_->setTextFormat(Qt::PlainText);  // it shows a downloaded address
    status_->setObjectName(QStringLiteral("structureStatus"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    layout->addWidget(status_);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    directory_->reset(taskFiles(task_));
    sitemap_->reset(mainFile(task_));
    QApplication::restoreOverrideCursor();
    directoryView_->expand(directory_->index(0, 0));
    sitemapView_->expand(sitemap_->index(0, 0));

    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        statusList_ = nullptr;
        showStatus();
    });
    connect(&project_, &KestProject::itemChanged, this, &WebsiteStructureWindow::follow);
    connect(&project_, &KestProject::taskRemoved, this, [this](uint32_t removed, bool moved) {
        if (removed == task_ && !moved) close();
    });
    connect(&project_, &KestProject::taskChanged, this, [this](const TaskRow &changed) {
        if (changed.id != task_) return;
        caption_ = captionOf(changed);
        emit captionChanged(caption_);
    });
    connect(&project_, &KestProject::beforeClose, this, &QWidget::close);
    showStatus();
}

WebsiteStructureWindow::~WebsiteStructureWindow() = default;

void WebsiteStructureWindow::addPage(const QString &caption, QTreeView *tree, RelatedFilesPanel *panel,
                                     ItemCommands *commands) {
    auto *page = new QSplitter(Qt::Vertical, tabs_);
    page->addWidget(tree);
    page->addWidget(panel);
    page->setStretchFactor(0, 2);
    page->setStretchFactor(1, 1);
    tabs_->addTab(page, caption);
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this, tree, panel] {
        statusList_ = nullptr;
        showStatus();
        const ItemRow *file = fileOf(*tree);
        panel->follow(file ? file->resource : 0);
    });
    connect(tree, &QAbstractItemView::activated, commands, [commands] { commands->open(false); });
    for (int tab = 0; tab < panel->count(); ++tab) {
        const ItemListFrame *list = &panel->list(tab);
        // Only a selection the user makes there: the lists also change as they follow the tree.
        connect(list, &ItemListFrame::selectionChanged, this, [this, list] {
            if (!list->shownView().hasFocus()) return;
            statusList_ = list;
            showStatus();
        });
    }
}

bool WebsiteStructureWindow::selectInDirectory(const ItemRow &file) {
    const QModelIndex found = directory_->find(file.address, file.formData);
    if (!found.isValid()) return false;
    directoryView_->setCurrentIndex(found);
    directoryView_->scrollTo(found);
    directoryView_->setFocus();
    return true;
}

QTreeView *WebsiteStructureWindow::makeTree(const QString &name) {
    auto *tree = new QTreeView(this);
    tree->setObjectName(name);
    tree->header()->hide();
    tree->setUniformRowHeights(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    return tree;
}

ItemCommands *WebsiteStructureWindow::makeCommands(QTreeView *tree) {
    const auto current = [this, tree] {
        const ItemRow *file = fileOf(*tree);
        return file ? std::optional<ItemRow>(*file) : std::nullopt;
    };
    const auto all = [current] {
        const std::optional<ItemRow> file = current();
        return file ? std::vector<ItemRow>{*file} : std::vector<ItemRow>{};
    };
    auto *commands = new ItemCommands(project_, *tree, {all, [current] { return current() ? 1 : 0; }, current},
                                      [task = task_] { return task; });
    connect(commands, &ItemCommands::openRequested, this, &WebsiteStructureWindow::openRequested);
    connect(commands, &ItemCommands::infoPageRequested, this, &WebsiteStructureWindow::infoPageRequested);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, commands, [tree, commands](const QPoint &at) {
        QMenu menu;
        commands->fillMenu(menu);
        menu.exec(tree->viewport()->mapToGlobal(at));
    });
    return commands;
}

void WebsiteStructureWindow::follow(const ItemChange &change) {
    // A resource's change or deletion comes with an empty item.
    if (change.action == ENG_URLRES_ITEM_GOT_RESOURCE && change.task == task_)
        directory_->add(change.row);
    else if (change.action == ENG_URLRES_CHANGED)
        directory_->change(change.row);
    else if (change.action == ENG_URLRES_DELETING)
        directory_->remove(change.urlResId);
    showStatus();
}

const ItemRow *WebsiteStructureWindow::fileOf(const QTreeView &tree) const {
    return &tree == directoryView_ ? directory_->file(tree.currentIndex()) : sitemap_->file(tree.currentIndex());
}

const ItemRow *WebsiteStructureWindow::selectedFile() const {
    return fileOf(tabs_->currentIndex() == 0 ? *directoryView_ : *sitemapView_);
}

QString WebsiteStructureWindow::statusText() const {
    if (statusList_) {
        const ItemListModel &files = statusList_->model();
        const QString size = QStringLiteral(". Size:") + groupedNumber(files.totalSize());
        const int selected = statusList_->selectedCount();
        if (selected == 0) return QString::number(files.size()) + QStringLiteral(" object(s)") + size;
        return QStringLiteral("%1 of %2 object(s) selected").arg(selected).arg(files.size()) + size;
    }
    const ItemRow *file = selectedFile();
    if (!file) return QStringLiteral("No selected");
    return file->address + QStringLiteral(", Size: ") + groupedNumber(file->size);
}

void WebsiteStructureWindow::showStatus() {
    status_->setText(statusText());
    // The trees' files change with their selection and with the engine's news of them.
    directoryCommands_->update();
    sitemapCommands_->update();
}
