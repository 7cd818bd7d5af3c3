#pragma once

#include <optional>

#include <QDialog>

#include "SearchCriteria.h"

class DateRangeBox;
class KestProject;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

// The search dialog, "Search in Retrieved Files": the address, words, title,
// file type and crawl states of the files to find ("General"), their sizes,
// how many at most and their download and modification dates ("Advanced
// Search"). Its Search button is enabled while a project is open. Search
// checks the sizes, the number of results and both queries, and keeps the
// dialog open on the page at fault.
class SearchDialog : public QDialog {
    Q_OBJECT

public:
    // Asks for criteria, starting from the given ones; nothing when cancelled.
    static std::optional<SearchCriteria> ask(QWidget *parent, KestProject &project, const SearchCriteria &start);

    SearchDialog(KestProject &project, const SearchCriteria &start, QWidget *parent);

    // The criteria the fields gave when the search was confirmed.
    const SearchCriteria &criteria() const { return criteria_; }
    void accept() override;

    QTabWidget *pages() const { return pages_; }

private:
    QWidget *generalPage();
    QWidget *advancedPage();
    void showCriteria(const SearchCriteria &criteria);
    // The criteria of the fields; nothing when a field is at fault (the user was told).
    std::optional<SearchCriteria> fields();
    void failOn(QWidget *page, QWidget *field, const QString &message);
    void followProject();

    KestProject &project_;
    SearchCriteria criteria_;
    QTabWidget *pages_;
    QWidget *general_;
    QWidget *advanced_;
    QLineEdit *address_;
    QLineEdit *body_;
    QLineEdit *title_;
    QComboBox *type_;
    QCheckBox *queued_;
    QCheckBox *success_;
    QCheckBox *error_;
    QCheckBox *wildcards_;
    QLineEdit *size_;
    QCheckBox *limitResults_;
    QLineEdit *maxResults_;
    DateRangeBox *downloaded_;
    DateRangeBox *modified_;
    QPushButton *search_;
};
