#pragma once

#include <optional>

#include <QDialog>

#include "FilterText.h"

class QComboBox;
class QRadioButton;

// "Task Filter Options": whether a task that follows links keeps to the
// start address's directory or host, or follows links anywhere.
class TaskFilterOptionsDialog : public QDialog {
    Q_OBJECT

public:
    TaskFilterOptionsDialog(const QString &address, QWidget *parent);

    // Asks for the start address; the filter entry chosen, nothing when cancelled.
    static std::optional<FilterEntry> ask(QWidget *parent, const QString &address);
    FilterEntry entry() const;

private:
    QRadioButton *onlyFrom_;
    QRadioButton *anywhere_;
    QComboBox *patterns_;
};
