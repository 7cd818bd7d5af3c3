#include "NewTaskDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>

#include "AddressNormalisation.h"
#include "AddressSuggestions.h"
#include "FilterEditor.h"
#include "KestProject.h"
#include "QueryValidation.h"
#include "TaskCreation.h"
#include "TaskFilterOptionsDialog.h"

namespace {

const QString kExplorerPrefix = QStringLiteral("Mozilla/4.0 (compatible; MSIE ");
const QStringList kExplorerVersions = {QStringLiteral("5.5 "), QStringLiteral("5.01"), QStringLiteral("5.0"),
                                       QStringLiteral("4.01"), QStringLiteral("4.0"),  QStringLiteral("3.0A")};
const QStringList kOtherAgents = {QStringLiteral("Mozilla/3.0Gold (Win95; I)"),
                                  QStringLiteral("Mozilla/4.0 [en] (Win95; I)"),
                                  QStringLiteral("Mozilla/4.5 [en] (WinNT; I)"),
                                  QStringLiteral("Mozilla/4.7 [en] (Win98; I)"),
                                  QStringLiteral("Mozilla/3.0 WebTV/1.2 (compatible; MSIE 2.0)"),
                                  QStringLiteral("Mozilla/3.01 (compatible;)")};
const QString kDepthHint = QStringLiteral(
    "The number of levels to download beginning from \r\nthe starting URL. Setting this to 0 will download \r\nonly a "
    "single page referenced by the supplied URL. \r\nSetting this to 1 will download the page referenced by \r\nthe "
    "URL and all the pages linked to this page. \r\nThe number of levels can be up to 255 but \r\nit is not "
    "recommended to set it higher than 4 unless \r\nyou use filters.");
constexpr int kMaxDepth = 99;
// Acceptable ages of the "Download new version of task" box: always fetch, or keep for long.
constexpr double kAlwaysFetch = 0;
constexpr double kKeepLong = 36000;

// The first of the versions that occurs in the text; -1 when none does.
int versionIn(const QString &text) {
    for (qsizetype k = 0; k < kExplorerVersions.size(); ++k)
        if (text.contains(kExplorerVersions[k])) return static_cast<int>(k);
    return -1;
}

}  // namespace

int NewTaskDialog::create(QWidget *parent, KestProject &project, const QString &address, int depth, uint32_t folder) {
    NewTaskDialog dialog(project, std::nullopt, parent);
    dialog.folder_ = folder;
    dialog.address_->setText(address.isEmpty() ? QStringLiteral("http://") : address);
    dialog.depth_->setText(QString::number(depth));
    return dialog.exec() == QDialog::Accepted ? dialog.createdTask() : 0;
}

bool NewTaskDialog::edit(QWidget *parent, KestProject &project, const TaskRow &task, int page) {
    NewTaskDialog dialog(project, task, parent);
    dialog.pages_->setCurrentIndex(page);
    return dialog.exec() == QDialog::Accepted;
}

bool NewTaskDialog::editSeveral(QWidget *parent, KestProject &project, const TaskRow &task) {
    NewTaskDialog dialog(project, task, parent);
    dialog.setWindowTitle(QStringLiteral("Multiple Selection"));
    dialog.address_->setEnabled(false);
    dialog.name_->setEnabled(false);
    dialog.pages_->setTabVisible(3, false);  // "Notes"
    dialog.pages_->setTabVisible(2, false);  // "Advanced Options"
    return dialog.exec() == QDialog::Accepted;
}

NewTaskDialog::NewTaskDialog(KestProject &project, std::optional<TaskRow> editing, QWidget *parent)
    : QDialog(parent),
      project_(project),
      editing_(std::move(editing)),
      pages_(new QTabWidget(this)),
      address_(new QLineEdit(this)),
      depth_(new QLineEdit(QStringLiteral("0"), this)),
      name_(new QLineEdit(this)),
      newVersion_(new QCheckBox(QStringLiteral("Download new version of task"), this)),
      filter_(new FilterEditor(this)),
      referer_(new QLineEdit(this)),
      explorer_(new QRadioButton(QStringLiteral("Microsoft Internet Explorer, version"), this)),
      explorerVersion_(new QComboBox(this)),
      otherAgent_(new QRadioButton(QStringLiteral("Other:"), this)),
      otherAgentText_(new QComboBox(this)),
      lowGraphics_(
          new QCheckBox(QStringLiteral("Retrieve images only after retrieving last webpage of the task"), this)),
      notes_(new QPlainTextEdit(this)) {
    setWindowTitle(editing_ ? QStringLiteral("Task Properties") : QStringLiteral("New Task"));
    address_->setObjectName(QStringLiteral("address"));
    depth_->setObjectName(QStringLiteral("depth"));
    name_->setObjectName(QStringLiteral("name"));
    notes_->setObjectName(QStringLiteral("notes"));
    general_ = generalPage();
    pages_->addTab(general_, QStringLiteral("General"));
    pages_->addTab(filter_, QStringLiteral("Filters"));
    pages_->addTab(advancedPage(), QStringLiteral("Advanced Options"));
    pages_->addTab(notes_, QStringLiteral("Notes"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(editing_ ? QStringLiteral("Ok") : QStringLiteral("New Task"));
    connect(buttons, &QDialogButtonBox::accepted, this, &NewTaskDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
    connect(address_, &QLineEdit::editingFinished, this, &NewTaskDialog::normaliseAddress);
    connect(referer_, &QLineEdit::editingFinished, this, [this] {
        if (const QString address = normalisedAddress(referer_->text()); !address.isEmpty()) referer_->setText(address);
    });
    if (editing_) showTask(*editing_);
    resize(620, 440);
}

QWidget *NewTaskDialog::generalPage() {
    auto *page = new QWidget(this);
    auto *form = new QFormLayout(page);
    form->addRow(QStringLiteral("Starting address (URL) :"), address_);
    auto *depthRow = new QHBoxLayout;
    depthRow->addWidget(new QLabel(QStringLiteral("Retrieve pages up to"), page));
    depth_->setMaximumWidth(60);
    depth_->setToolTip(kDepthHint);
    depthRow->addWidget(depth_);
    depthRow->addWidget(new QLabel(QStringLiteral("links away from this address."), page));
    depthRow->addStretch();
    form->addRow(depthRow);
    name_->setToolTip(QStringLiteral("Assign a name to the task. The name is for your reference only."));
    form->addRow(QStringLiteral("Task name : "), name_);
    form->addRow(newVersion_);
    return page;
}

QWidget *NewTaskDialog::advancedPage() {
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    auto *refererRow = new QFormLayout;
    refererRow->addRow(QStringLiteral("Referrer Page Address:"), referer_);
    layout->addLayout(refererRow);
    auto *agent = new QGroupBox(QStringLiteral("User Agent :"), page);
    auto *agentLayout = new QFormLayout(agent);
    explorerVersion_->addItems(kExplorerVersions);
    explorerVersion_->setEditable(true);
    otherAgentText_->addItems(kOtherAgents);
    otherAgentText_->setEditable(true);
    agentLayout->addRow(explorer_, explorerVersion_);
    agentLayout->addRow(otherAgent_, otherAgentText_);
    layout->addWidget(agent);
    layout->addWidget(lowGraphics_);
    layout->addStretch();
    connect(explorer_, &QRadioButton::toggled, this, [this](bool on) {
        explorerVersion_->setEnabled(on);
        otherAgentText_->setEnabled(!on);
    });
    explorer_->setChecked(true);
    otherAgentText_->setEnabled(false);
    explorerVersion_->setCurrentIndex(std::max(0, versionIn(project_.defaultUserAgent().mid(29))));
    return page;
}

void NewTaskDialog::showTask(const TaskRow &task) {
    address_->setText(task.url);
    normaliseAddress();
    name_->setText(task.name);
    depth_->setText(QString::number(task.depth));
    notes_->setPlainText(task.note);
    showUserAgent(task.userAgent);
    referer_->setText(task.referer);
    newVersion_->setChecked(task.acceptableAge == kAlwaysFetch);
    lowGraphics_->setChecked(task.lowGraphics);
    filter_->setFilter(task.filter);
}

void NewTaskDialog::normaliseAddress() {
    const QString address = normalisedAddress(address_->text());
    if (address.isEmpty()) return;
    address_->setText(address);
    const AddressSuggestions suggestions = AddressSuggestions::of(address);
    filter_->addSuggestions({suggestions.host, suggestions.directory});
}

void NewTaskDialog::showUserAgent(const QString &agent) {
    if (!agent.startsWith(kExplorerPrefix)) {
        otherAgent_->setChecked(true);
        otherAgentText_->setEditText(agent);
        return;
    }
    const QString rest = agent.mid(kExplorerPrefix.size());
    explorer_->setChecked(true);
    if (const int version = versionIn(rest); version >= 0)
        explorerVersion_->setCurrentIndex(version);
    else
        explorerVersion_->setEditText(rest.trimmed().section(u';', 0, 0));
}

QString NewTaskDialog::userAgent() const {
    if (otherAgent_->isChecked()) return otherAgentText_->currentText();
    static const QRegularExpression anchor(QStringLiteral("<a\\b.*</a>"), QRegularExpression::CaseInsensitiveOption);
    const QString link = anchor.match(project_.defaultUserAgent()).captured();
    return kExplorerPrefix + explorerVersion_->currentText() + QStringLiteral("; Windows98; ") + link + u')';
}

void NewTaskDialog::failOn(QWidget *page, QWidget *field) {
    pages_->setCurrentWidget(page);
    field->setFocus();
}

std::optional<TaskRow> NewTaskDialog::fields() {
    const std::optional<QByteArray> filter = filter_->filter();
    if (!filter) {
        pages_->setCurrentWidget(filter_);
        return std::nullopt;
    }
    for (const FilterEntry &entry : parseFilter(*filter)) {
        if (!entry.expression.isEmpty() && !validFilterExpression(this, entry.expression)) {
            pages_->setCurrentWidget(filter_);
            return std::nullopt;
        }
    }
    TaskRow task = editing_.value_or(TaskRow{});
    task.url = normalisedAddress(address_->text());
    if (task.url.isEmpty()) {
        QMessageBox::critical(this, QStringLiteral("Sitelark"), QStringLiteral("Invalid url."));
        failOn(general_, address_);
        return std::nullopt;
    }
    bool number = false;
    const int depth = depth_->text().trimmed().toInt(&number);
    if (!number || depth < 0 || depth > kMaxDepth) {
        QMessageBox::critical(this, QStringLiteral("Sitelark"),
                              QStringLiteral("The depth must be a whole number from 0 to %1.").arg(kMaxDepth));
        failOn(general_, depth_);
        return std::nullopt;
    }
    task.depth = static_cast<uint32_t>(depth);
    const std::optional<QByteArray> withLinks =
        TaskFilterOptionsDialog::linkFilter(this, task.url, task.depth, *filter);
    if (!withLinks) return std::nullopt;
    task.filter = *withLinks;
    task.name = name_->text();
    task.referer = referer_->text();
    task.userAgent = userAgent();
    task.note = notes_->toPlainText();
    task.acceptableAge = newVersion_->isChecked() ? kAlwaysFetch : kKeepLong;
    task.lowGraphics = lowGraphics_->isChecked();
    return task;
}

void NewTaskDialog::accept() {
    std::optional<TaskRow> task = fields();
    if (!task) return;
    if (!editing_) {
        task->folder = folder_;
        task->followRedirects = true;
        created_ = project_.createTask(*task);
        if (!reportTaskResult(this, created_)) return failOn(general_, address_);
        QDialog::accept();
        return;
    }
    if (task->url != normalisedAddress(editing_->url) &&
        QMessageBox::question(this, QStringLiteral("Sitelark"),
                              QStringLiteral("You have changed starting address. Apply changes ?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    if (!project_.updateTask(*task)) {
        QMessageBox::critical(this, QStringLiteral("Sitelark"), QStringLiteral("Can't update task."));
        return;
    }
    QDialog::accept();
}
