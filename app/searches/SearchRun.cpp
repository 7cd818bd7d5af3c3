#include "SearchRun.h"

#include <QApplication>
#include <QMessageBox>

#include "KestProject.h"

SearchRun::SearchRun(KestProject &project, QWidget *window) : project_(project), window_(window) {
    connect(&ticker_, &IndexTicker::textChanged, this, &SearchRun::stateChanged);
}

std::optional<eng::client::RecordBuffer<eng::client::ItemResource>> SearchRun::run(const SearchCriteria &criteria) {
    if (!criteria.bodyText.isEmpty() && !indexFirst()) return std::nullopt;
    emit stateChanged(QStringLiteral("Searching ..."));
    emit progressChanged(0, 0);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    KestProject::SearchResult found = project_.search(criteria);
    QApplication::restoreOverrideCursor();
    emit stateChanged(QString());
    // A query that does not parse was caught by the dialog: any answer but 1 found nothing.
    if (found.answer != 1) {
        QMessageBox::information(window_, QStringLiteral("Sitelark"), QStringLiteral("No results were found."));
        return std::nullopt;
    }
    return std::move(found.files);
}

bool SearchRun::indexFirst() {
    const KestProject::NotIndexed waiting = project_.notIndexed();
    if (waiting.count == 0) return true;
    speeds_ = project_.indexSpeeds();
    if (QMessageBox::question(window_, QStringLiteral("Sitelark"), indexQuestion(waiting.bytes, speeds_),
                              QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
        return false;
    const QMetaObject::Connection progress =
        connect(&project_, &KestProject::indexProgress, this, &SearchRun::showIndexProgress);
    const bool indexed = project_.indexProject() != 0;
    disconnect(progress);
    ticker_.stop();
    emit stateChanged(QString());
    if (!indexed)
        QMessageBox::critical(window_, QStringLiteral("Sitelark"), QStringLiteral("Can't index the database"));
    return indexed;
}

void SearchRun::showIndexProgress(const EngIndexProgressRecord &progress) {
    if (progress.phase == ENG_INDEX_IMPORTING) {
        if (!ticker_.running()) ticker_.start(progress.words, speeds_.indexWordsPerSec);
        return;
    }
    emit stateChanged(QStringLiteral("Extracting words. Files: %1 of %2 Words:%3")
                          .arg(progress.done)
                          .arg(progress.bodies)
                          .arg(progress.words));
    emit progressChanged(progress.done, progress.bodies);
}
