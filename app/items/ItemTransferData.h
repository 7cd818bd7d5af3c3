#pragma once

#include <optional>
#include <vector>

#include <QList>
#include <QMimeData>
#include <QPointer>
#include <QUrl>

#include "ItemRow.h"

class KestProject;
class QWidget;

// Stored files dragged out of an item view. The program's own drop targets
// take the private format: ITEM with each file's address and form data, for
// the project the files came from. Another program (the pointer over none
// of this program's windows) asks for the files themselves, and only then
// are they exported into the folder
// "ItemExportTemp" of the temporary folder, emptied first: one file that is
// not a page directly, else through the item export dialog. The files
// written there are offered as file links; asked again, the same ones.
class ItemTransferData : public QMimeData {
    Q_OBJECT

public:
    // The dialogs are shown over the view the files are dragged from.
    ItemTransferData(KestProject &project, QWidget *view, std::vector<ItemRow> rows);

    QStringList formats() const override;
    bool hasFormat(const QString &format) const override;

protected:
    QVariant retrieveData(const QString &format, QMetaType type) const override;

private:
    QList<QUrl> exportFiles() const;

    KestProject &project_;
    QPointer<QWidget> view_;
    std::vector<ItemRow> rows_;
    QByteArray itemText_;
    mutable std::optional<QList<QUrl>> exported_;
};
