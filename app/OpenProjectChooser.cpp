#include "OpenProjectChooser.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

OpenProjectChooser::OpenProjectChooser(const QStringList &recent, QWidget *parent)
    : QDialog(parent),
      createNew_(new QRadioButton(QStringLiteral("Create New Project"), this)),
      files_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Open Project"));
    auto *openExisting = new QRadioButton(QStringLiteral("Open Existing Project"), this);
    createNew_->setChecked(true);
    files_->addItem(QStringLiteral("Other File ..."));
    files_->addItems(recent);
    files_->setCurrentRow(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(files_, &QListWidget::itemDoubleClicked, this, [this, openExisting] {
        openExisting->setChecked(true);
        accept();
    });
    connect(files_, &QListWidget::currentRowChanged, openExisting, [openExisting] { openExisting->setChecked(true); });
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(createNew_);
    layout->addWidget(openExisting);
    layout->addWidget(files_);
    layout->addWidget(buttons);
}

bool OpenProjectChooser::createNew() const { return createNew_->isChecked(); }

QString OpenProjectChooser::chosenFile() const {
    return files_->currentRow() > 0 ? files_->currentItem()->text() : QString();
}
