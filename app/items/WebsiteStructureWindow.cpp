#include "WebsiteStructureWindow.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

#include "DirectoryModel.h"
#include "EngineLibrary.h"
#include "ItemChange.h"
#include "ItemRow.h"
#include "KestProject.h"
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
      status_(new QLabel(this)) {
    setObjectName(QStringLiteral("websiteStructure"));
    setAttribute(Qt::WA_DeleteOnClose);
    directoryView_->setModel(directory_);
    sitemapView_->setModel(sitemap_);
    tabs_->addTab(directoryView_, QStringLiteral("Directory"));
    tabs_->addTab(sitemapView_, QStringLiteral("Sitemap"));
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

    for (QTreeView *tree : {directoryView_, sitemapView_}) {
        connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
                &WebsiteStructureWindow::showStatus);
        connect(tree, &QAbstractItemView::activated, this, [this] { open(selectedFile()); });
    }
    connect(tabs_, &QTabWidget::currentChanged, this, &WebsiteStructureWindow::showStatus);
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

QTreeView *WebsiteStructureWindow::makeTree(const QString &name) {
    auto *tree = new QTreeView(this);
    tree->setObjectName(name);
    tree->header()->hide();
    tree->setUniformRowHeights(true);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    return tree;
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

const ItemRow *WebsiteStructureWindow::selectedFile() const {
    if (tabs_->currentWidget() == directoryView_) return directory_->file(directoryView_->currentIndex());
    return sitemap_->file(sitemapView_->currentIndex());
}

QString WebsiteStructureWindow::statusText() const {
    const ItemRow *file = selectedFile();
    if (!file) return QStringLiteral("No selected");
    return file->address + QStringLiteral(", Size: ") + groupedNumber(file->size);
}

void WebsiteStructureWindow::showStatus() { status_->setText(statusText()); }

void WebsiteStructureWindow::open(const ItemRow *file) {
    if (!file || !file->hasResource()) return;
    emit openRequested(file->address, task_, engineDate(file->completed), false);
}
