#pragma once

#include <QDialog>

class QRadioButton;

// "Refresh task": fetch again the files that failed for connection errors,
// those retrieved with errors, or the whole task. Choices without files
// are disabled.
class RefreshTaskDialog : public QDialog {
    Q_OBJECT

public:
    RefreshTaskDialog(uint32_t errors, uint32_t connectionErrors, QWidget *parent);
    // The refresh mode chosen (ENG_REFRESH_*); 0 when cancelled.
    static int ask(QWidget *parent, uint32_t errors, uint32_t connectionErrors);
    int mode() const;

private:
    QRadioButton *connection_;
    QRadioButton *failed_;
    QRadioButton *all_;
};
