#pragma once

#include <QDialog>

class FilterEditor;
class KestProject;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;

// The open project's own properties, kept in its file: whether the browser
// enqueues new resources while offline, the project-wide filter and the
// project note. OK writes them when the filter parses (else the editor has
// said why and the dialog stays open).
class ProjectPropertiesDialog : public QDialog {
    Q_OBJECT

public:
    enum Page { General, Filters, Notes };

    ProjectPropertiesDialog(KestProject &project, Page page, QWidget *parent = nullptr);

    QTabWidget *pages() const { return pages_; }
    QLabel *sizeLabel() const { return size_; }
    QCheckBox *enqueueOffline() const { return enqueue_; }
    FilterEditor *filterEditor() const { return filter_; }
    QPlainTextEdit *note() const { return note_; }

    void accept() override;

signals:
    void helpRequested();

private:
    KestProject &project_;
    QTabWidget *pages_;
    QLineEdit *path_;
    QLabel *size_;
    QCheckBox *enqueue_;
    FilterEditor *filter_;
    QPlainTextEdit *note_;
};

// The file size as the General page shows it: "1,234,567 Bytes", or "n/a"
// when the file cannot be found.
QString projectSizeText(const QString &file);
