#pragma once

#include <QDialog>

#include "ItemRow.h"

// The "Properties" of a stored file: its address, level, when it was queued
// and retrieved, its state, result, sizes, content type, modification time
// and title. Every text is shown as plain text.
class ItemPropertiesDialog : public QDialog {
    Q_OBJECT

public:
    ItemPropertiesDialog(const ItemRow &row, QWidget *parent);

    // Shows the dialog for the row and waits until it is closed.
    static void show(QWidget *parent, const ItemRow &row);
};
