#pragma once

#include <cstdint>

#include <QDialog>

class KestProject;
class QLabel;
class QLineEdit;

// "Folder Properties": the folder's name (editable), its place in the tree,
// and what it holds below it (folders, tasks and their size), counted after
// the window shows. OK renames the folder. Not modal.
class FolderPropertiesWindow : public QDialog {
    Q_OBJECT

public:
    FolderPropertiesWindow(KestProject &project, uint32_t folder, QWidget *parent);

    QString sizeText() const;
    QString containsText() const;
    void accept() override;

signals:
    void renameRequested(uint32_t folder, const QString &name);

private:
    // Walks the folder's subtree depth first, showing the counts as they grow.
    void count();

    KestProject &project_;
    uint32_t folder_;
    QLineEdit *name_;
    QLabel *size_;
    QLabel *contains_;
};
