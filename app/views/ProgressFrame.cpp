#include "ProgressFrame.h"

#include <set>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "KestProject.h"
#include "options/OptionsDialog.h"
#include "options/OptionsRequests.h"
#include "views/DownloadListModel.h"

namespace {

const QString kOffline =
    QStringLiteral("You are currently working in offline mode. Press Go Online to begin downloading.");

QSpinBox *limitField(int minimum, const QString &hint, const QString &name, QWidget *parent) {
    auto *field = new QSpinBox(parent);
    field->setRange(minimum, 99);
    field->setToolTip(hint);
    field->setObjectName(name);
    field->setEnabled(false);
    return field;
}

}  // namespace

ProgressFrame::ProgressFrame(KestProject &project, QWidget *parent)
    : QWidget(parent),
      project_(project),
      model_(new DownloadListModel(this)),
      view_(new QTreeView(this)),
      listOrOffline_(new QStackedWidget(this)),
      maxConnections_(limitField(0, QStringLiteral("Connections: Maximum number of concurrent Internet connections"),
                                 QStringLiteral("maxConnections"), this)),
      perServer_(limitField(1,
                            QStringLiteral("Per Server: Maximum number of concurrent Internet connections per server."),
                            QStringLiteral("perServer"), this)),
      notes_(new QPlainTextEdit(this)),
      noTask_(new QLabel(QStringLiteral("There is no task selected"), this)) {
    auto *tabs = new QTabWidget(this);
    tabs->addTab(buildProgressTab(), QStringLiteral("Progress"));
    tabs->addTab(buildNotesTab(), QStringLiteral("Task Notes"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs);

    limitsTimer_.setSingleShot(true);
    limitsTimer_.setInterval(kLimitsDelay);
    connect(&limitsTimer_, &QTimer::timeout, this, &ProgressFrame::writeLimits);
    elapsedTimer_.setInterval(1000);
    connect(&elapsedTimer_, &QTimer::timeout, model_, &DownloadListModel::refreshElapsed);

    connect(&project_, &KestProject::downloadProgress, model_, &DownloadListModel::take);
    connect(&project_, &KestProject::afterOpen, this, &ProgressFrame::followProject);
    connect(&project_, &KestProject::afterClose, this, &ProgressFrame::followProject);
    connect(&project_, &KestProject::runningChanged, this, &ProgressFrame::followProject);
    // The limits may come from elsewhere: the options, applied to the project.
    connect(&project_, &KestProject::propertiesWritten, this, &ProgressFrame::showLimits);
    connect(&project_, &KestProject::beforeClose, this, [this] {
        showTask(std::nullopt);
        model_->clear();
    });
    connect(&project_, &KestProject::taskChanged, this, &ProgressFrame::taskChanged);
    followProject();
    showTask(std::nullopt);
}

QWidget *ProgressFrame::buildProgressTab() {
    auto *tab = new QWidget(this);
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setDragEnabled(true);
    view_->setDragDropMode(QAbstractItemView::DragOnly);
    view_->header()->setDefaultSectionSize(88);
    view_->header()->resizeSection(DownloadListModel::Number, 36);
    // The address takes what the figures leave.
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionResizeMode(DownloadListModel::Url, QHeaderView::Stretch);
    view_->header()->resizeSection(DownloadListModel::Percent, 56);
    view_->header()->resizeSection(DownloadListModel::Received, 108);
    view_->installEventFilter(this);
    auto *offline = new QLabel(kOffline, tab);
    offline->setObjectName(QStringLiteral("offline"));
    offline->setAlignment(Qt::AlignCenter);
    offline->setWordWrap(true);
    listOrOffline_->setObjectName(QStringLiteral("listOrOffline"));
    listOrOffline_->addWidget(view_);
    listOrOffline_->addWidget(offline);

    auto *bar = new QToolBar(tab);
    abort_ = bar->addAction(QStringLiteral("Abort"), this, &ProgressFrame::abortSelected);
    createTask_ = bar->addAction(QStringLiteral("Create Task"), this, &ProgressFrame::createTasks);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ProgressFrame::updateCommands);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &ProgressFrame::updateCommands);
    connect(model_, &QAbstractItemModel::modelReset, this, &ProgressFrame::updateCommands);
    updateCommands();

    auto *limits = new QHBoxLayout;
    limits->addWidget(new QLabel(QStringLiteral("Max Connections :"), tab));
    limits->addWidget(maxConnections_);
    limits->addWidget(new QLabel(QStringLiteral(" Per Server :"), tab));
    limits->addWidget(perServer_);
    limits->addStretch();
    // The Options dialog, on its General and Proxy pages.
    const std::pair<QString, int> links[] = {{QStringLiteral("More Options..."), OptionsDialog::General},
                                             {QStringLiteral("Proxy Settings..."), OptionsDialog::Proxy}};
    for (const auto &[text, page] : links) {
        auto *link = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(text), tab);
        connect(link, &QLabel::linkActivated, this,
                [page] { emit OptionsRequests::instance().optionsRequested(page); });
        limits->addWidget(link);
    }
    connect(maxConnections_, &QSpinBox::valueChanged, this, &ProgressFrame::limitsChanged);
    connect(perServer_, &QSpinBox::valueChanged, this, &ProgressFrame::limitsChanged);

    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(bar);
    layout->addWidget(listOrOffline_, 1);
    layout->addLayout(limits);
    return tab;
}

QWidget *ProgressFrame::buildNotesTab() {
    auto *tab = new QWidget(this);
    notes_->setObjectName(QStringLiteral("notes"));
    notes_->installEventFilter(this);
    // The text is set with its signals blocked: a change is the user's typing.
    connect(notes_, &QPlainTextEdit::textChanged, this, [this] { notesChanged_ = task_.has_value(); });
    noTask_->setObjectName(QStringLiteral("noTask"));
    auto *layout = new QVBoxLayout(tab);
    layout->addWidget(noTask_);
    layout->addWidget(notes_, 1);
    return tab;
}

QAction *ProgressFrame::command(const QString &caption) const {
    for (QAction *action : {abort_, createTask_})
        if (action->text() == caption) return action;
    return nullptr;
}

void ProgressFrame::updateCommands() {
    const bool selected = view_->selectionModel()->hasSelection();
    abort_->setEnabled(selected);
    createTask_->setEnabled(selected && project_.active());
}

bool ProgressFrame::eventFilter(QObject *watched, QEvent *event) {
    if (watched == view_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Delete && abort_->isEnabled()) {
        if (QMessageBox::question(this, QStringLiteral("Sitelark"),
                                  QStringLiteral("Do you want to abort the connection(s) ?"),
                                  QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
            abortSelected();
        return true;
    }
    if (watched == notes_ && event->type() == QEvent::FocusOut) storeNotes();
    return QWidget::eventFilter(watched, event);
}

void ProgressFrame::abortSelected() {
    std::set<uint32_t> resources;
    for (const QModelIndex &row : view_->selectionModel()->selectedRows())
        resources.insert(model_->download(row.row()).resource);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    for (const uint32_t resource : resources) project_.abortConnection(resource);
    QApplication::restoreOverrideCursor();
}

void ProgressFrame::createTasks() {
    for (const QModelIndex &row : view_->selectionModel()->selectedRows()) {
        const DownloadProgress &download = model_->download(row.row());
        TaskRow task;
        task.url = download.url;
        task.formData = download.formData;
        task.depth = 0;
        task.acceptableAge = -1;
        task.folder = project_.selectedFolder();
        project_.createTask(task);
    }
}

void ProgressFrame::followProject() {
    const bool online = project_.active() && project_.running();
    listOrOffline_->setCurrentIndex(online ? 0 : 1);
    if (online)
        elapsedTimer_.start();
    else
        elapsedTimer_.stop();
    showLimits();
    updateCommands();
}

void ProgressFrame::showLimits() {
    const bool open = project_.active();
    const QSignalBlocker blockMax(maxConnections_), blockPerServer(perServer_);
    maxConnections_->setEnabled(open);
    perServer_->setEnabled(open);
    if (!open) return;
    maxConnections_->setValue(project_.properties().maxConnections);
    perServer_->setValue(project_.properties().maxPerServer);
}

void ProgressFrame::limitsChanged() {
    if (perServer_->value() > maxConnections_->value()) {
        const QSignalBlocker block(maxConnections_);
        maxConnections_->setValue(perServer_->value());
    }
    limitsTimer_.start();
}

void ProgressFrame::writeLimits() {
    if (!project_.active()) return;
    if (project_.setConnectionLimits(uint16_t(maxConnections_->value()), uint16_t(perServer_->value())))
        emit limitsWritten(maxConnections_->value(), perServer_->value());
}

void ProgressFrame::showTask(const std::optional<TaskRow> &task) {
    storeNotes();
    task_ = task;
    notesChanged_ = false;
    const QSignalBlocker block(notes_);
    notes_->setPlainText(task ? task->note : QString());
    notes_->setEnabled(task.has_value());
    noTask_->setVisible(!task);
}

void ProgressFrame::taskChanged(const TaskRow &task) {
    if (!task_ || task_->id != task.id) return;
    const QString typed = notes_->toPlainText();
    task_ = task;
    if (notes_->hasFocus()) {
        task_->note = typed;
        return;
    }
    const QSignalBlocker block(notes_);
    notes_->setPlainText(task.note);
    notesChanged_ = false;
}

void ProgressFrame::storeNotes() {
    if (!task_ || !notesChanged_) return;
    notesChanged_ = false;
    task_->note = notes_->toPlainText();
    project_.updateTask(*task_);
}
