#include "ExportParamDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "engine.h"

namespace {

QString &rememberedFolder() {
    static QString folder =
        ExportParamDialog::asFolder(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    return folder;
}

}  // namespace

ExportParamDialog::ExportParamDialog(const QString &caption, QWidget *parent)
    : QDialog(parent),
      form_(new QFormLayout),
      saveToRow_(new QWidget(this)),
      saveTo_(new QLineEdit(lastFolder(), saveToRow_)),
      length_(new QSpinBox(this)),
      htmlExtension_(new QCheckBox(QStringLiteral("Add .html extension to HTML files."), this)) {
    setWindowTitle(caption);
    saveTo_->setObjectName(QStringLiteral("saveTo"));
    auto *choose = new QPushButton(QStringLiteral("..."), saveToRow_);
    choose->setObjectName(QStringLiteral("choose"));
    choose->setMaximumWidth(32);
    auto *row = new QHBoxLayout(saveToRow_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Save to:"), saveToRow_));
    row->addWidget(saveTo_, 1);
    row->addWidget(choose);
    connect(choose, &QPushButton::clicked, this, [this] { chooseDestination(); });

    length_->setObjectName(QStringLiteral("nameLength"));
    length_->setRange(8, 100);
    length_->setValue(50);
    auto *truncate = new QHBoxLayout;
    truncate->addWidget(new QLabel(QStringLiteral("Truncate file names longer than "), this));
    truncate->addWidget(length_);
    truncate->addWidget(new QLabel(QStringLiteral("characters"), this));
    truncate->addStretch(1);
    htmlExtension_->setObjectName(QStringLiteral("htmlExtension"));
    htmlExtension_->setChecked(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(saveToRow_);
    layout->addLayout(truncate);
    layout->addWidget(htmlExtension_);
    layout->addLayout(form_);
    layout->addWidget(buttons);
    resize(460, sizeHint().height());
}

QString ExportParamDialog::destination() const { return saveTo_->text().trimmed(); }

void ExportParamDialog::setDestination(const QString &path) { saveTo_->setText(path); }

uint32_t ExportParamDialog::options() const {
    return ENG_EXPORT_NAME_LENGTH | (htmlExtension_->isChecked() ? ENG_EXPORT_HTML_EXTENSION : 0u);
}

uint32_t ExportParamDialog::nameLength() const { return static_cast<uint32_t>(length_->value()); }

QString ExportParamDialog::lastFolder() { return rememberedFolder(); }

void ExportParamDialog::rememberFolder(const QString &folder) { rememberedFolder() = asFolder(folder); }

QString ExportParamDialog::asFolder(const QString &path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

void ExportParamDialog::chooseDestination() {
    const QString folder = QFileDialog::getExistingDirectory(
        this, windowTitle(), destination(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (!folder.isEmpty()) setDestination(asFolder(folder));
}

void ExportParamDialog::accept() {
    if (!saveToRow_->isHidden()) rememberFolder(folderPart());
    QDialog::accept();
}
