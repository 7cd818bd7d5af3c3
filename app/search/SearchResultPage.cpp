#include "SearchResultPage.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "KestProject.h"
#include "SearchDialog.h"

SearchResultPage::SearchResultPage(KestProject &project, const SearchCriteria &criteria, QWidget *parent)
    : QWidget(parent),
      project_(project),
      criteria_(criteria),
      run_(project, this),
      caption_(QStringLiteral("Search Result")),
      state_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      content_(new QStackedWidget(this)),
      noMatch_(new QLabel(QStringLiteral("No files match your search criteria. Click the New Search button to start a "
                                         "new search."),
                          this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    auto *bar = new QToolBar(this);
    newSearch_ = bar->addAction(QStringLiteral("New Search"), this, &SearchResultPage::newSearch);
    refresh_ = bar->addAction(QStringLiteral("Refresh"), this, &SearchResultPage::search);
    state_->setTextFormat(Qt::PlainText);
    noMatch_->setTextFormat(Qt::PlainText);
    noMatch_->setAlignment(Qt::AlignCenter);
    noMatch_->setWordWrap(true);
    progress_->setTextVisible(false);
    content_->addWidget(noMatch_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addWidget(state_);
    layout->addWidget(progress_);
    layout->addWidget(content_, 1);
    state_->hide();
    progress_->hide();
    noMatch_->hide();

    connect(&run_, &SearchRun::stateChanged, this, [this](const QString &text) {
        state_->setText(text);
        state_->setVisible(!text.isEmpty());
        progress_->setVisible(!text.isEmpty());
        emit stateChanged(text);
    });
    connect(&run_, &SearchRun::progressChanged, progress_, [this](int value, int maximum) {
        progress_->setRange(0, maximum);
        progress_->setValue(value);
    });
    connect(&project_, &KestProject::beforeClose, this, &QWidget::close);
}

QString SearchResultPage::stateText() const { return state_->isVisible() ? state_->text() : QString(); }

bool SearchResultPage::showsNoMatch() const { return content_->currentWidget() == noMatch_ && !noMatch_->isHidden(); }

void SearchResultPage::search() {
    if (!project_.active()) return;
    newSearch_->setEnabled(false);
    refresh_->setEnabled(false);
    std::optional<std::vector<ItemRow>> found = run_.run(criteria_);
    newSearch_->setEnabled(true);
    refresh_->setEnabled(true);
    if (found) showFiles(std::move(*found));
}

void SearchResultPage::newSearch() {
    const std::optional<SearchCriteria> criteria = SearchDialog::ask(this, project_, criteria_);
    if (!criteria) return;
    criteria_ = *criteria;
    search();
}

void SearchResultPage::showFiles(std::vector<ItemRow> files) {
    caption_ = criteria_.bodyText.isEmpty() ? QStringLiteral("Search Results")
                                            : QStringLiteral("Text - ") + criteria_.bodyText;
    emit captionChanged(caption_);
    files_ = std::move(files);
    noMatch_->setVisible(files_.empty());
    content_->setCurrentWidget(noMatch_);
}
