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
    // The filter a task of the depth at the address is to have: when it has
    // no entry for links, the depth is above 0 and the address is http or
    // https, the entry the user chooses (nothing when cancelled); else the
    // filter as it is.
    static std::optional<QByteArray> linkFilter(QWidget *parent, const QString &address, uint32_t depth,
                                                const QByteArray &filter);
    FilterEntry entry() const;

private:
    QRadioButton *onlyFrom_;
    QRadioButton *anywhere_;
    QComboBox *patterns_;
};
