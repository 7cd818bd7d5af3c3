#include "TaskTransferData.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>

#include "EngineLibrary.h"
#include "KestProject.h"
#include "TransferText.h"

TransferArchives TransferArchives::inTemporaryFolder() {
    const QDir temporary = QDir::temp();
    return {temporary.filePath(QStringLiteral("TaskArchName.dat")),
            temporary.filePath(QStringLiteral("UrlResArchName.dat")),
            temporary.filePath(QStringLiteral("ResArchName.dat"))};
}

void TransferArchives::remove() const {
    QFile::remove(tasks);
    QFile::remove(resources);
    QFile::remove(bodies);
}

TaskTransferData::TaskTransferData(KestProject &project, const QString &kind, std::vector<uint32_t> tasks)
    : project_(project), projectPath_(project.fileName()), tasks_(std::move(tasks)) {
    transfer::Text text{kind, projectPath_, {}};
    for (uint32_t task : tasks_) text.lines << QString::number(task);
    keysText_ = transfer::compose(text);
}

QStringList TaskTransferData::formats() const { return {transfer::kFormat, transfer::kArchiveFormat}; }

bool TaskTransferData::hasFormat(const QString &format) const { return formats().contains(format); }

bool TaskTransferData::sourceOpen() const {
    return project_.active() && transfer::sameProject(project_.fileName(), projectPath_);
}

bool TaskTransferData::prepareArchives() const {
    if (!sourceOpen()) return false;
    const TransferArchives archives = TransferArchives::inTemporaryFolder();
    const QByteArray tasks = QFile::encodeName(archives.tasks), resources = QFile::encodeName(archives.resources),
                     bodies = QFile::encodeName(archives.bodies);
    return engine().Eng_SerializeTask(tasks.constData(), resources.constData(), bodies.constData(), 1, 0, tasks_.data(),
                                      static_cast<uint32_t>(tasks_.size())) != 0;
}

QByteArray TaskTransferData::archiveText() const {
    const TransferArchives archives = TransferArchives::inTemporaryFolder();
    // Written again while the source is open (a paste takes the files away); else as written before it closed.
    const bool written = sourceOpen() ? prepareArchives() : QFile::exists(archives.tasks);
    if (!written) {
        if (!failed_)
            QMessageBox::critical(nullptr, QStringLiteral("Sitelark"),
                                  QStringLiteral("Can't transfer the task across projects."));
        failed_ = true;
        return {};
    }
    return transfer::compose(
        {transfer::kExternalTaskCopy,
         projectPath_,
         {QStringLiteral("TaskArchName=") + archives.tasks, QStringLiteral("UrlResArchName=") + archives.resources,
          QStringLiteral("ResArchName=") + archives.bodies}});
}

QVariant TaskTransferData::retrieveData(const QString &format, QMetaType) const {
    if (format == transfer::kFormat) return keysText_;
    if (format == transfer::kArchiveFormat) return archiveText();
    return {};
}
