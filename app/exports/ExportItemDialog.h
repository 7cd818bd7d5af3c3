#pragma once

#include "ExportParamDialog.h"

class QComboBox;

// The parameters of exporting stored files ("Export item"): those of every
// export, and whether pages go with the files they embed ("Web Page,
// complete") or alone ("Web Page, HTML only"). For one file the destination
// is that file's path and "..." asks for a file; for several it is a folder.
class ExportItemDialog : public ExportParamDialog {
    Q_OBJECT

public:
    // For one file: its proposed name, and whether it is a page (only a
    // page can be exported alone). An empty name: several files.
    ExportItemDialog(const QString &fileName, bool page, QWidget *parent);

    uint32_t options() const override;
    // Exports into a folder the program chose: the "Save to:" row is hidden.
    void hideDestination();

    void accept() override;

protected:
    void chooseDestination() override;
    QString folderPart() const override;

private:
    bool single_;
    QComboBox *pagesAs_;
};
