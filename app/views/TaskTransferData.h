#pragma once

#include <cstdint>
#include <vector>

#include <QMimeData>

class KestProject;

// Tasks cut, copied or dragged out of the task list. The private format
// holds their keys (TASK_MOVE or TASK_COPY) for the project they came from;
// a program with another project asks for the archive format instead, and
// only then are the tasks written into the three transfer archives of the
// temporary folder (EXT_TASK_COPY). Before the source project closes,
// prepareArchives() writes them, so that a later paste into another project
// of this program still finds them.
class TaskTransferData : public QMimeData {
    Q_OBJECT

public:
    TaskTransferData(KestProject &project, const QString &kind, std::vector<uint32_t> tasks);

    // Writes the archives now, while the source project is open; false when
    // the engine could not.
    bool prepareArchives() const;

    QStringList formats() const override;
    bool hasFormat(const QString &format) const override;

protected:
    QVariant retrieveData(const QString &format, QMetaType type) const override;

private:
    bool sourceOpen() const;
    QByteArray archiveText() const;

    KestProject &project_;
    QString projectPath_;
    QByteArray keysText_;
    std::vector<uint32_t> tasks_;
    mutable bool failed_ = false;
};

// The three archive paths of a transfer, in the temporary folder.
struct TransferArchives {
    QString tasks, resources, bodies;
    static TransferArchives inTemporaryFolder();
    void remove() const;
};
