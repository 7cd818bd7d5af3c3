#pragma once

#include <QDialog>

class QListWidget;
class QRadioButton;

// The open-project chooser: create a new project, or open one of the recent
// ones ("Other File ..." asks for a file).
class OpenProjectChooser : public QDialog {
public:
    OpenProjectChooser(const QStringList &recent, QWidget *parent);
    bool createNew() const;
    // The recent project chosen; empty for "Other File ...".
    QString chosenFile() const;

private:
    QRadioButton *createNew_;
    QListWidget *files_;
};
