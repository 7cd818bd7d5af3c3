#include "HostList.h"

#include <QLineEdit>

HostList::HostList(QWidget *parent) : QTreeWidget(parent) {
    setHeaderLabels({QStringLiteral("Hosts"), QStringLiteral("Status")});
    setRootIsDecorated(false);
    setEditTriggers(NoEditTriggers);
    setColumnWidth(0, 220);
}

void HostList::cancelEditing() {
    // Editors closed before may linger hidden until they are deleted.
    for (QLineEdit *editor : viewport()->findChildren<QLineEdit *>())
        if (editor->isVisible()) closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}
