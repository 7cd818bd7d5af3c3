#include "SearchResultPage.h"

#include <QAction>
#include <QLabel>
#include <QProgressBar>
#include <QStackedWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "KestProject.h"
#include "SearchDialog.h"
#include "items/ItemWindow.h"

SearchResultPage::SearchResultPage(KestProject &project, const SearchCriteria &criteria, QWidget *parent)
    : QWidget(parent),
      project_(project),
      criteria_(criteria),
      run_(project, this),
      caption_(QStringLiteral("Search Result")),
      state_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      content_(new QStackedWidget(this)),
      files_(new ItemWindow(project, content_)),
      noMatch_(new QLabel(QStringLiteral("No files match your search criteria. Click the New Search button to start a "
                                         "new search."),
                          content_)) {
    setObjectName(QStringLiteral("searchResultPage"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *bar = new QToolBar(this);
    newSearch_ = bar->addAction(QStringLiteral("New Search"), this, &SearchResultPage::newSearch);
    newSearch_->setObjectName(QStringLiteral("acNewSearch"));
    refresh_ = bar->addAction(QStringLiteral("Refresh"), this, &SearchResultPage::search);
    refresh_->setObjectName(QStringLiteral("acRefreshSearch"));
    state_->setTextFormat(Qt::PlainText);  // it shows the words searched for
    noMatch_->setTextFormat(Qt::PlainText);
    noMatch_->setAlignment(Qt::AlignCenter);
    noMatch_->setWordWrap(true);
    progress_->setTextVisible(false);
    content_->addWidget(files_);
    content_->addWidget(noMatch_);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addWidget(state_);
    layout->addWidget(progress_);
    layout->addWidget(content_, 1);
    state_->hide();
    progress_->hide();

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

QString SearchResultPage::stateText() const { return state_->isHidden() ? QString() : state_->text(); }

bool SearchResultPage::showsNoMatch() const { return content_->currentWidget() == noMatch_; }

void SearchResultPage::search() {
    if (!project_.active()) return;
    newSearch_->setEnabled(false);
    refresh_->setEnabled(false);
    const std::optional<eng::client::RecordBuffer<eng::client::ItemResource>> found = run_.run(criteria_);
    newSearch_->setEnabled(true);
    refresh_->setEnabled(true);
    if (found) showFiles(*found);
}

void SearchResultPage::newSearch() {
    const std::optional<SearchCriteria> criteria = SearchDialog::ask(this, project_, criteria_);
    if (!criteria) return;
    criteria_ = *criteria;
    search();
}

void SearchResultPage::showFiles(const eng::client::RecordBuffer<eng::client::ItemResource> &files) {
    caption_ = criteria_.bodyText.isEmpty() ? QStringLiteral("Search Results")
                                            : QStringLiteral("Text - ") + criteria_.bodyText;
    emit captionChanged(caption_);
    files_->load(files);
    content_->setCurrentWidget(files.empty() ? static_cast<QWidget *>(noMatch_) : files_);
}
