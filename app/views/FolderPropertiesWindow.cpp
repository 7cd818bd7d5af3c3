#include "FolderPropertiesWindow.h"

#include <vector>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include "EngineLibrary.h"
#include "KestProject.h"
#include "RecordBuffer.h"
#include "TaskCreation.h"
#include "TaskRow.h"

FolderPropertiesWindow::FolderPropertiesWindow(KestProject &project, uint32_t folder, QWidget *parent)
    : QDialog(parent),
      project_(project),
      folder_(folder),
      name_(new QLineEdit(folderPath(folder).section(u'\\', -1), this)),
      size_(new QLabel(this)),
      contains_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Folder Properties"));
    setAttribute(Qt::WA_DeleteOnClose);
    name_->setObjectName(QStringLiteral("name"));
    auto *general = new QGroupBox(QStringLiteral("General"), this);
    auto *form = new QFormLayout(general);
    form->addRow(name_);
    auto *location = new QLabel(folderPath(folder), this);
    location->setTextFormat(Qt::PlainText);  // names are shown as they are, never as markup
    form->addRow(QStringLiteral("Location:"), location);
    form->addRow(QStringLiteral("Size:"), size_);
    form->addRow(QStringLiteral("Contains:"), contains_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(general);
    layout->addWidget(buttons);
    QTimer::singleShot(0, this, &FolderPropertiesWindow::count);
}

QString FolderPropertiesWindow::sizeText() const { return size_->text(); }

QString FolderPropertiesWindow::containsText() const { return contains_->text(); }

void FolderPropertiesWindow::count() {
    uint64_t folders = 0, tasks = 0, bytes = 0;
    std::vector<uint32_t> pending{folder_};
    while (!pending.empty() && project_.active()) {
        const uint32_t folder = pending.back();
        pending.pop_back();
        for (const EngFolderRecord &record :
             eng::client::receiveRecords<EngFolderRecord>(engine().Eng_FreeMem, engine().Eng_GetSubFolders, folder)) {
            pending.push_back(record.folder);
            ++folders;
        }
        for (const TaskRow &task : project_.folderTasks(folder)) {
            ++tasks;
            bytes += task.size;
        }
        contains_->setText(QStringLiteral("Folders:%1, Tasks:%2").arg(folders).arg(tasks));
        size_->setText(groupedNumber(bytes));
        QApplication::processEvents();
    }
}

void FolderPropertiesWindow::accept() {
    emit renameRequested(folder_, name_->text());
    QDialog::accept();
}
