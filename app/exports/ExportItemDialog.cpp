#include "ExportItemDialog.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>

#include "engine.h"

ExportItemDialog::ExportItemDialog(const QString &fileName, bool page, QWidget *parent)
    : ExportParamDialog(QStringLiteral("Export item"), parent),
      single_(!fileName.isEmpty()),
      pagesAs_(new QComboBox(this)) {
    pagesAs_->setObjectName(QStringLiteral("pagesAs"));
    pagesAs_->addItems({QStringLiteral("Web Page, complete"), QStringLiteral("Web Page, HTML only")});
    pagesAs_->setEnabled(!single_ || page);
    form().addRow(QStringLiteral("Export pages as:"), pagesAs_);
    if (single_) setDestination(lastFolder() + fileName);
}

uint32_t ExportItemDialog::options() const {
    return ExportParamDialog::options() | (pagesAs_->currentIndex() == 1 ? ENG_EXPORT_PAGE_ONLY : 0u);
}

void ExportItemDialog::hideDestination() { saveToRow().hide(); }

void ExportItemDialog::chooseDestination() {
    if (!single_) {
        ExportParamDialog::chooseDestination();
        return;
    }
    const QString path = QFileDialog::getSaveFileName(this, windowTitle(), destination(), QString(), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (!path.isEmpty()) setDestination(path);
}

QString ExportItemDialog::folderPart() const {
    return single_ ? QFileInfo(destination()).absolutePath() : destination();
}

void ExportItemDialog::accept() {
    if (!single_) setDestination(asFolder(destination()));
    ExportParamDialog::accept();
}
