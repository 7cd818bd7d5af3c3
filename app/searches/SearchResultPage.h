#pragma once

#include <QDateTime>
#include <QWidget>

#include "SearchCriteria.h"
#include "SearchRun.h"

class ItemWindow;
class KestProject;
class QAction;
class QLabel;
class QProgressBar;
class QStackedWidget;

// A page of the main window that shows the files a search found in an item
// window (the item list with its commands, the related files and the status
// line), captioned "Search Result" until it has searched, then "Text - " and
// the words searched for, or "Search Results" for a search without words.
// "New Search" asks for other criteria, starting from the page's, and
// searches again in the same page; "Refresh" searches again with the same
// criteria. It closes with the project.
class SearchResultPage : public QWidget {
    Q_OBJECT

public:
    SearchResultPage(KestProject &project, const SearchCriteria &criteria, QWidget *parent = nullptr);

    const SearchCriteria &criteria() const { return criteria_; }
    QString caption() const { return caption_; }
    // The files the last search found.
    ItemWindow &files() const { return *files_; }
    QAction *newSearchCommand() const { return newSearch_; }
    QAction *refreshCommand() const { return refresh_; }
    // What the page says while it indexes or searches; empty otherwise.
    QString stateText() const;
    // Whether the page says that nothing matched.
    bool showsNoMatch() const;

    // Searches with the page's criteria and shows what was found.
    void search();
    // Asks for new criteria and searches with them.
    void newSearch();

signals:
    void captionChanged(const QString &caption);
    // What the page says while it indexes or searches (SearchRun::stateChanged).
    void stateChanged(const QString &text);

private:
    void showFiles(const eng::client::RecordBuffer<eng::client::ItemResource> &files);

    KestProject &project_;
    SearchCriteria criteria_;
    SearchRun run_;
    QString caption_;
    QAction *newSearch_;
    QAction *refresh_;
    QLabel *state_;
    QProgressBar *progress_;
    QStackedWidget *content_;
    ItemWindow *files_;
    QLabel *noMatch_;
};
