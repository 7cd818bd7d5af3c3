#include "ProjectPropertiesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include "EngineLibrary.h"
#include "KestProject.h"
#include "dialogs/FilterEditor.h"

namespace {

constexpr uint32_t kDynamicObjects = 0x4000;

}  // namespace

QString projectSizeText(const QString &file) {
    const QFileInfo info(file);
    if (!info.isFile()) return QStringLiteral("n/a");
    QString digits = QString::number(info.size());
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3) digits.insert(at, u',');
    return digits + QStringLiteral(" Bytes");
}

ProjectPropertiesDialog::ProjectPropertiesDialog(KestProject &project, Page page, QWidget *parent)
    : QDialog(parent),
      project_(project),
      pages_(new QTabWidget(this)),
      path_(new QLineEdit(project.fileName(), this)),
      size_(new QLabel(projectSizeText(project.fileName()), this)),
      enqueue_(new QCheckBox(QStringLiteral("Enqueue new resources from the browser in offline mode"), this)),
      filter_(new FilterEditor(this)),
      note_(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("Project properties"));
    const eng::client::ProjectProps &properties = project.properties();

    auto *general = new QWidget(this);
    auto *form = new QFormLayout(general);
    path_->setReadOnly(true);
    form->addRow(QStringLiteral("Project path:"), path_);
    form->addRow(QStringLiteral("Size on disk:"), size_);
    form->addRow(enqueue_);
    enqueue_->setChecked((properties.optionFlags & ENG_OPTION_NO_OFFLINE_ENQUEUE) == 0);

    filter_->addCategory(QStringLiteral("Dynamic Objects"), kDynamicObjects);
    filter_->setFilter(QByteArray::fromStdString(properties.filter));
    note_->setObjectName(QStringLiteral("note"));
    note_->setPlainText(QString::fromStdString(properties.note));

    pages_->addTab(general, QStringLiteral("General"));
    pages_->addTab(filter_, QStringLiteral("Filters"));
    pages_->addTab(note_, QStringLiteral("Project Notes"));
    pages_->setCurrentIndex(page);

    auto *buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &ProjectPropertiesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, &ProjectPropertiesDialog::helpRequested);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(pages_);
    layout->addWidget(buttons);
    resize(640, 480);
}

void ProjectPropertiesDialog::accept() {
    const std::optional<QByteArray> filter = filter_->filter();
    if (!filter) {
        pages_->setCurrentWidget(filter_);
        return;
    }
    const eng::client::ProjectProps before = project_.properties();
    eng::client::ProjectProps properties = before;
    if (enqueue_->isChecked())
        properties.optionFlags &= ~ENG_OPTION_NO_OFFLINE_ENQUEUE;
    else
        properties.optionFlags |= ENG_OPTION_NO_OFFLINE_ENQUEUE;
    properties.filter = filter->toStdString();
    properties.note = note_->toPlainText().toStdString();
    project_.setProperties(properties);
    if (project_.writeProperties())
        QDialog::accept();
    else
        project_.setProperties(before);  // the engine has said why it refused them
}
