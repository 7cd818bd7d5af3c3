#pragma once

#include <QDialog>

class QCheckBox;
class QFormLayout;
class QLineEdit;
class QSpinBox;
class QWidget;

// The parameters of an export: where to ("Save to:" with "..." to choose a
// folder), the length file names are cut to, and whether HTML files get the
// ".html" extension. OK remembers the folder for the program's run.
class ExportParamDialog : public QDialog {
    Q_OBJECT

public:
    ExportParamDialog(const QString &caption, QWidget *parent);

    // The destination as the field holds it.
    QString destination() const;
    void setDestination(const QString &path);
    // The engine's option flags: names always cut, ".html" when checked.
    virtual uint32_t options() const;
    uint32_t nameLength() const;

    // The folder of the last export (at first the desktop), ending in "/".
    static QString lastFolder();
    static void rememberFolder(const QString &folder);
    // The path with a "/" at its end.
    static QString asFolder(const QString &path);

    void accept() override;

protected:
    // Asks for the destination when "..." is pressed: a folder here.
    virtual void chooseDestination();
    // The folder that the destination names, remembered on OK.
    virtual QString folderPart() const { return destination(); }
    QFormLayout &form() const { return *form_; }
    QWidget &saveToRow() const { return *saveToRow_; }

private:
    QFormLayout *form_;
    QWidget *saveToRow_;
    QLineEdit *saveTo_;
    QSpinBox *length_;
    QCheckBox *htmlExtension_;
};
