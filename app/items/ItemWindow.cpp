#include "ItemWindow.h"

#include <algorithm>
#include <span>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSplitter>
#include <QToolBar>
#include <QVBoxLayout>

#include "EngineLibrary.h"
#include "ItemListFrame.h"
#include "ItemListModel.h"
#include "KestProject.h"
#include "ProgramSettings.h"
#include "RecordBuffer.h"
#include "RelatedFilesPanel.h"

namespace {

// More files than this load under a progress dialog.
constexpr size_t kQuietLoad = 300;
// The related-files panel's height, kept among the window layout's values.
const QString kPanelHeight = QStringLiteral("plRelItems.Height");
// The progress dialog moves at most every kStepMs, looked at every kLoadStep rows.
constexpr size_t kLoadStep = 1000;
constexpr qint64 kStepMs = 100;
// More files than this in a task make the window offer to show only its HTML files.
constexpr uint32_t kManyFiles = 1000;

struct TypeButton {
    const char *caption;
    uint32_t bit;
};
constexpr TypeButton kTypeButtons[] = {{"HTML", 1}, {"GIF", 2}, {"JPEG", 4}, {"BMP", 8}, {"TEXT", 16}, {"OTHER", 32}};

}  // namespace

ItemWindow::ItemWindow(KestProject &project, const TaskRow &task, QWidget *parent)
    : ItemWindow(project, task.id, task.caption(), parent) {}

ItemWindow::ItemWindow(KestProject &project, QWidget *parent) : ItemWindow(project, 0, QString(), parent) {}

ItemWindow::ItemWindow(KestProject &project, uint32_t task, const QString &caption, QWidget *parent)
    : QWidget(parent),
      project_(project),
      task_(task),
      caption_(caption),
      list_(new ItemListFrame(project, this)),
      related_(new RelatedFilesPanel(project, this)),
      splitter_(new QSplitter(Qt::Vertical, this)),
      status_(new QLabel(this)) {
    setObjectName(QStringLiteral("itemWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(caption_);
    list_->model().setTask(task_);
    status_->setObjectName(QStringLiteral("itemStatus"));
    status_->setTextFormat(Qt::PlainText);  // it shows an address
    splitter_->addWidget(list_);
    splitter_->addWidget(related_);
    splitter_->setStretchFactor(0, 2);
    splitter_->setStretchFactor(1, 1);
    related_->hide();
    connect(splitter_, &QSplitter::splitterMoved, this, &ItemWindow::keepPanelHeight);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    layout->addWidget(splitter_, 1);
    layout->addWidget(status_);

    connect(list_, &ItemListFrame::selectionChanged, this, &ItemWindow::updateStatus);
    connect(list_, &ItemListFrame::selectionChanged, this, &ItemWindow::followSelection);
    for (int tab = 0; tab < 3; ++tab)
        related_->list(tab).setDiverter([this](const ItemRow &row) { return selectInList(row.resource); });
    connect(&project_, &KestProject::itemChanged, this, [this](const ItemChange &change) {
        if (list_->model().follow(change)) updateStatus();
    });
    connect(&project_, &KestProject::taskRemoved, this, [this](uint32_t task, bool moved) {
        if (task == task_ && !moved) close();
    });
    connect(&project_, &KestProject::taskChanged, this, [this](const TaskRow &task) {
        if (task.id != task_ || task.caption() == caption_) return;
        caption_ = task.caption();
        setWindowTitle(caption_);
        emit captionChanged();
    });
    connect(&project_, &KestProject::beforeClose, this, [this] {
        list_->model().clear();
        close();
    });
}

void ItemWindow::buildToolBar() {
    auto *bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("itemTypes"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    // Files of no task come as they were found, without a type filter.
    for (const TypeButton &type : task_ ? std::span(kTypeButtons) : std::span<const TypeButton>()) {
        QAction *button = bar->addAction(QString::fromLatin1(type.caption));
        button->setCheckable(true);
        button->setChecked(true);
        button->setData(type.bit);
        connect(button, &QAction::toggled, this, &ItemWindow::reload);
        typeButtons_ << button;
    }
    bar->addSeparator();
    linkExplorer_ = bar->addAction(QStringLiteral("Link Explorer"));
    linkExplorer_->setObjectName(QStringLiteral("acLinkExplorer"));
    linkExplorer_->setCheckable(true);
    connect(linkExplorer_, &QAction::toggled, this, &ItemWindow::showRelatedFiles);
    layout()->addWidget(bar);
}

QAction *ItemWindow::typeButton(const QString &caption) const {
    const auto found = std::find_if(typeButtons_.begin(), typeButtons_.end(),
                                    [&caption](const QAction *button) { return button->text() == caption; });
    return found == typeButtons_.end() ? nullptr : *found;
}

void ItemWindow::start(const TaskRow &task) {
    if (task.retrieved + task.queued > kManyFiles &&
        QMessageBox::question(this, QStringLiteral("Sitelark"),
                              QStringLiteral("There are too many files. Do you want to open only HTML files?"),
                              QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes) {
        // Only the HTML button stays down; the list loads once, below.
        for (QAction *button : std::as_const(typeButtons_)) {
            const QSignalBlocker quiet(button);
            button->setChecked(button->data().toUInt() == 1);
        }
    }
    reload();
}

void ItemWindow::reload() {
    uint32_t mask = 0;
    for (const QAction *button : std::as_const(typeButtons_))
        if (button->isChecked()) mask |= button->data().toUInt();
    list_->model().setTypeMask(mask);
    load(
        eng::client::receiveRecords<eng::client::ItemResource>(engine().Eng_FreeMem, engine().Eng_GetTaskItems, task_));
}

void ItemWindow::load(const eng::client::RecordBuffer<eng::client::ItemResource> &pairs) {
    ItemListModel &model = list_->model();
    model.clear();
    loading_ = Loading{static_cast<int>(pairs.size()), 0, 0};
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::unique_ptr<QProgressDialog> progress;
    if (pairs.size() > kQuietLoad) {
        progress = std::make_unique<QProgressDialog>(QString(), QStringLiteral("Cancel"), 0, loading_->expected, this);
        progress->setWindowTitle(QStringLiteral("Opening file list ..."));
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(0);
        progress->show();
    }
    // The rows are made first and shown together: one insertion, not one per row, keeps a long list quick.
    std::vector<ItemRow> rows;
    rows.reserve(pairs.size());
    QElapsedTimer sinceStep;
    sinceStep.start();
    for (const eng::client::ItemResource &pair : pairs) {
        rows.push_back(ItemRow::fromPair(pair));
        ++loading_->loaded;
        loading_->size += rows.back().size;
        if (rows.size() % kLoadStep != 0 || sinceStep.elapsed() < kStepMs) continue;
        sinceStep.restart();
        if (progress) {
            progress->setLabelText(rows.back().caption());
            progress->setValue(loading_->loaded);
        }
        updateStatus();
        // The dialog's Cancel is user input; without the dialog only paints and notifications are served.
        QApplication::processEvents(progress ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
        if (progress && progress->wasCanceled()) break;
    }
    model.append(std::move(rows));
    loading_.reset();
    QApplication::restoreOverrideCursor();
    list_->selectFirst();
    updateStatus();
}

QString ItemWindow::statusText() const {
    const ItemListModel &model = list_->model();
    if (loading_)
        return QStringLiteral("%1 of %2 object(s). TotalSize=").arg(loading_->loaded).arg(loading_->expected) +
               groupedNumber(loading_->size);
    const QString total = QStringLiteral(". TotalSize=") + groupedNumber(model.totalSize());
    const int selected = list_->selectedCount();
    if (selected == 0) return QString::number(model.size()) + QStringLiteral(" object(s)") + total;
    QString text = QStringLiteral("%1 of %2 object(s) selected").arg(selected).arg(model.size()) + total;
    if (selected == 1) {
        const ItemRow row = list_->selectedRows().front();
        text += QStringLiteral(" (") + viewStateName(row.state) + QStringLiteral(", Size=") + groupedNumber(row.size) +
                QStringLiteral(", ") + row.address + u')';
    }
    return text;
}

void ItemWindow::updateStatus() { status_->setText(statusText()); }

void ItemWindow::followSelection() {
    if (!related_->isVisible()) return;
    const std::optional<ItemRow> row = list_->currentRow();
    related_->follow(row ? row->resource : 0);
}

bool ItemWindow::selectInList(uint32_t resource) { return list_->selectResource(resource); }

void ItemWindow::showRelatedFiles(bool shown) {
    related_->setVisible(shown);
    if (linkExplorer_->isChecked() != shown) linkExplorer_->setChecked(shown);
    if (!shown) {
        storePanelHeight();
        return;
    }
    // The height the user last gave the panel, else a third of the window's.
    const int height = splitter_->height() - splitter_->handleWidth();  // what the two parts share
    const int kept =
        draggedHeight_ > 0 ? draggedHeight_ : static_cast<int>(ProgramSettings().number(kPanelHeight).value_or(0));
    const int panel = kept > 0 && kept < height ? kept : height / 3;
    splitter_->setSizes({height - panel, panel});
    followSelection();
}

ItemWindow::~ItemWindow() { storePanelHeight(); }

void ItemWindow::keepPanelHeight() {
    if (related_->isVisible()) draggedHeight_ = splitter_->sizes().value(1);
}

void ItemWindow::storePanelHeight() {
    if (draggedHeight_ > 0) ProgramSettings().setNumber(kPanelHeight, static_cast<uint32_t>(draggedHeight_));
    draggedHeight_ = 0;
}
