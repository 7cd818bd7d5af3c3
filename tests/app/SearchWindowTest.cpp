// The search window over a crawled project: the dialog's fields and checks,
// the question to index first with its estimate, and searches by word, by
// phrase, by title and by state that find what lark finds in a copy of the
// same project.

#include <algorithm>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "KestProject.h"
#include "ModalAnswers.h"
#include "NotificationWindow.h"
#include "items/ItemListFrame.h"
#include "items/ItemListModel.h"
#include "items/ItemWindow.h"
#include "searches/DateRangeBox.h"
#include "searches/IndexTicker.h"
#include "searches/SearchDialog.h"
#include "searches/SearchResultPage.h"

using namespace gui_test;

namespace {

QLineEdit *field(SearchDialog &dialog, const char *name) { return dialog.findChild<QLineEdit *>(name); }

QCheckBox *box(SearchDialog &dialog, const QString &text) {
    for (QCheckBox *check : dialog.findChildren<QCheckBox *>())
        if (check->text() == text) return check;
    return nullptr;
}

QStringList sorted(QStringList addresses) {
    addresses.sort();
    return addresses;
}

QStringList addressesOf(const SearchResultPage &page) {
    const ItemListModel &files = page.files().list().model();
    QStringList addresses;
    for (int row = 0; row < files.size(); ++row) addresses << files.row(row).address;
    return sorted(addresses);
}

int filesOf(const SearchResultPage &page) { return page.files().list().model().size(); }

// Records the question boxes that open until it ends, answering each with the button.
class Questions : public QObject {
public:
    explicit Questions(QMessageBox::StandardButton answer) : answer_(answer) {
        connect(&poll_, &QTimer::timeout, this, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->button(answer_)->click();
            }
        });
        poll_.start(30);
    }
    QStringList texts;

private:
    QMessageBox::StandardButton answer_;
    QTimer poll_;
};

}  // namespace

class SearchWindowTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase();
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void theDialogOpensWithTheDefaultCriteria();
    void aBadSizeRangeKeepsTheDialogOpen();
    void theAddressGetsWildcardsUnlessTheUserSaysNot();
    void aWordSearchIndexesFirstAndFindsWhatLarkFinds();
    void cancellingTheIndexQuestionSearchesNothing();
    void phrasesAndTitlesFindWhatLarkFindsWithoutAsking();
    void theListsOfAllFilesOfAStateFindWhatLarkFinds();
    void theIndexTickerCountsWhileAnEngineCallWaits();
    void resultsHaveNoTypeButtonsATasksFilesListHas();
    void newSearchStartsFromThePagesCriteriaAndSearchesInIt();

private:
    // What lark finds in the indexed copy of the project, in the states given (every state unless told).
    QStringList larkFinds(const QStringList &arguments, const QString &states = QStringLiteral("7")) const;
    // Runs the main window's search command with the dialog's fields set by the function.
    SearchResultPage *searchWith(const std::function<void(SearchDialog &)> &fill);
    SearchResultPage *lastPage() const;

    QTemporaryDir indexed_;
};

void SearchWindowTest::initTestCase() {
    fixture_.prepare(GuiFixture::Project::Crawled, GuiFixture::Server::Stopped);
    const QString copy = indexed_.filePath(QStringLiteral("indexed.slk"));
    QVERIFY(QFile::copy(fixture_.preparedProject(), copy));
    larkOutput({QStringLiteral("index"), copy});
}

QStringList SearchWindowTest::larkFinds(const QStringList &arguments, const QString &states) const {
    const QString output =
        larkOutput(QStringList{QStringLiteral("search"), indexed_.filePath(QStringLiteral("indexed.slk"))} + arguments +
                   QStringList{QStringLiteral("--state"), states});
    QStringList addresses;
    for (const QString &line : output.split(u'\n', Qt::SkipEmptyParts)) addresses << line.section(u'\t', 0, 0);
    return sorted(addresses);
}

SearchResultPage *SearchWindowTest::lastPage() const {
    const QList<SearchResultPage *> pages = form().findChildren<SearchResultPage *>();
    return pages.isEmpty() ? nullptr : pages.last();
}

SearchResultPage *SearchWindowTest::searchWith(const std::function<void(SearchDialog &)> &fill) {
    const qsizetype before = form().findChildren<SearchResultPage *>().size();
    whenOpen<SearchDialog>([fill](SearchDialog *dialog) {
        fill(*dialog);
        dialog->accept();
    });
    fixture_.triggerMenuCommand(QStringLiteral("Search"));
    return form().findChildren<SearchResultPage *>().size() > before ? lastPage() : nullptr;
}

void SearchWindowTest::theDialogOpensWithTheDefaultCriteria() {
    SearchDialog dialog(form().project(), SearchCriteria{}, &form());
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Search in Retrieved Files"));
    QVERIFY(dialog.findChild<QPushButton *>() != nullptr);
    const auto buttons = dialog.findChildren<QPushButton *>();
    QVERIFY(std::any_of(buttons.begin(), buttons.end(), [](QPushButton *button) {
        return button->text() == QStringLiteral("Search") && button->isEnabled();
    }));
    for (const char *name : {"address", "bodyText", "title", "size"}) QVERIFY(field(dialog, name)->text().isEmpty());
    auto *type = dialog.findChild<QComboBox *>(QStringLiteral("fileType"));
    QCOMPARE(type->currentText(), QStringLiteral("ALL"));
    QCOMPARE(type->itemText(5), QStringLiteral("OTHER"));
    QCOMPARE(type->itemText(6), QStringLiteral("TEXT"));
    for (const char *state : {"Queued", "Success", "Error", "Add wildcards automatically"})
        QVERIFY2(box(dialog, state)->isChecked(), state);
    QLineEdit *maxResults = field(dialog, "maxResults");
    QCOMPARE(maxResults->text(), QStringLiteral("Unlimited"));
    QVERIFY(!maxResults->isEnabled());
    // Unset ranges show yesterday to today, unchecked.
    for (const char *name : {"downloadDate", "modificationDate"}) {
        auto *range = dialog.findChild<DateRangeBox *>(name);
        QVERIFY(!range->isChecked());
        QCOMPARE(range->from()->date(), QDate::currentDate().addDays(-1));
        QCOMPARE(range->to()->date(), QDate::currentDate());
    }
    screenshot(&dialog, QStringLiteral("search-dialog-general.png"));
    dialog.pages()->setCurrentIndex(1);
    box(dialog, QStringLiteral("Max Results"))->setChecked(true);
    QCOMPARE(maxResults->text(), QStringLiteral("1000"));
    QVERIFY(maxResults->isEnabled());
    screenshot(&dialog, QStringLiteral("search-dialog-advanced.png"));

    // Closing the project disables the search.
    form().project().setActive(false);
    QVERIFY(std::none_of(buttons.begin(), buttons.end(), [](QPushButton *button) {
        return button->text() == QStringLiteral("Search") && button->isEnabled();
    }));
}

void SearchWindowTest::aBadSizeRangeKeepsTheDialogOpen() {
    SearchDialog dialog(form().project(), SearchCriteria{}, &form());
    dialog.show();
    for (const QString &bad : {QStringLiteral("lots"), QStringLiteral("500-100"), QStringLiteral("-5")}) {
        field(dialog, "size")->setText(bad);
        QString message;
        answerMessageBox(QMessageBox::Ok, &message);
        dialog.accept();
        QCOMPARE(message, QStringLiteral("The size range is not valid."));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.pages()->currentIndex(), 1);
    }
    field(dialog, "size")->setText(QStringLiteral("100-5000"));
    box(dialog, QStringLiteral("Max Results"))->setChecked(true);
    dialog.findChild<DateRangeBox *>(QStringLiteral("downloadDate"))->setChecked(true);
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const SearchCriteria &criteria = dialog.criteria();
    QCOMPARE(criteria.minSize, 100);
    QCOMPARE(criteria.maxSize, 5000);
    QCOMPARE(criteria.maxResults, 1000);
    QVERIFY(criteria.doneFrom > 0 && criteria.doneTo - criteria.doneFrom > 0.99);
    QCOMPARE(criteria.modifiedFrom, 0.0);
    QCOMPARE(criteria.modifiedTo, 0.0);
}

void SearchWindowTest::theAddressGetsWildcardsUnlessTheUserSaysNot() {
    const QString page2 = url(QStringLiteral("/page2.html"));
    SearchResultPage *page = searchWith([&](SearchDialog &dialog) { field(dialog, "address")->setText(page2); });
    QVERIFY(page);
    const QString pattern = page2.section(QStringLiteral("://"), 0, 0) + QStringLiteral("://*") +
                            page2.section(QStringLiteral("://"), 1) + QStringLiteral("*");
    QCOMPARE(page->criteria().addressPattern, pattern);
    QCOMPARE(addressesOf(*page), QStringList{page2});
    QCOMPARE(page->caption(), QStringLiteral("Search Results"));

    // The choice lasts for the program's run: the next dialog starts unchecked.
    page = searchWith([&](SearchDialog &dialog) {
        field(dialog, "address")->setText(page2);
        box(dialog, QStringLiteral("Add wildcards automatically"))->setChecked(false);
    });
    QCOMPARE(page->criteria().addressPattern, page2);
    bool checked = true;
    searchWith([&](SearchDialog &dialog) {
        checked = box(dialog, QStringLiteral("Add wildcards automatically"))->isChecked();
        box(dialog, QStringLiteral("Add wildcards automatically"))->setChecked(true);
    });
    QVERIFY(!checked);
}

void SearchWindowTest::aWordSearchIndexesFirstAndFindsWhatLarkFinds() {
    KestProject &project = form().project();
    QVERIFY(project.notIndexed().count > 0);
    Questions questions(QMessageBox::Ok);
    QStringList states;
    connect(&project, &KestProject::indexProgress, this, [&] {
        if (SearchResultPage *page = lastPage()) states << page->stateText();
    });
    SearchResultPage *page = searchWith([](SearchDialog &dialog) { field(dialog, "bodyText")->setText("second"); });
    QVERIFY(page);
    // A project this small indexes in no time, at any speed.
    QCOMPARE(questions.texts,
             QStringList{QStringLiteral("You have chosen to search for words in the text of web pages.\r\nTo use this "
                                        "capability, the program needs to index the database.\r\nThe estimated time "
                                        "to do it is 00:00:00.")});
    QCOMPARE(project.notIndexed().count, 0u);
    QVERIFY2(
        std::any_of(states.begin(), states.end(),
                    [](const QString &text) { return text.startsWith(QStringLiteral("Extracting words. Files: ")); }),
        qPrintable(states.join(u'|')));
    QCOMPARE(page->caption(), QStringLiteral("Text - second"));
    const QStringList found = addressesOf(*page);
    QCOMPARE(found, larkFinds({QStringLiteral("second")}));
    QVERIFY(found.contains(url(QStringLiteral("/page2.html"))));
    QVERIFY(!page->showsNoMatch());
    QCOMPARE(form().findChild<QTabWidget *>()->currentWidget(), page);
    screenshot(&form(), QStringLiteral("search-result-page.png"));

    // Refreshing searches again, now without a question.
    QStringList said;
    connect(page, &SearchResultPage::stateChanged, this, [&](const QString &text) { said << text; });
    page->refreshCommand()->trigger();
    QCOMPARE(questions.texts.size(), 1);
    QCOMPARE(said, (QStringList{QStringLiteral("Searching ..."), QString()}));
    QCOMPARE(addressesOf(*page), found);

    // A found file opens as stored, in the browser.
    ItemListFrame &list = page->files().list();
    uint32_t page2 = 0;
    for (int row = 0; row < list.model().size(); ++row)
        if (list.model().row(row).address == url(QStringLiteral("/page2.html"))) page2 = list.model().row(row).resource;
    QVERIFY(list.selectResource(page2));
    list.command(QStringLiteral("acOpen"))->trigger();
    BrowserForm *browser = form().findChild<BrowserForm *>();
    QVERIFY(browser);
    QTRY_COMPARE_WITH_TIMEOUT(browser->page()->title(), QStringLiteral("Second"), 10000);
    QCOMPARE(browser->pageAddress(), url(QStringLiteral("/page2.html")));
}

void SearchWindowTest::cancellingTheIndexQuestionSearchesNothing() {
    Questions questions(QMessageBox::Cancel);
    SearchResultPage *page = searchWith([](SearchDialog &dialog) { field(dialog, "bodyText")->setText("second"); });
    QVERIFY(page);
    QCOMPARE(questions.texts.size(), 1);
    QVERIFY(form().project().notIndexed().count > 0);
    QCOMPARE(filesOf(*page), 0);
    QCOMPARE(page->caption(), QStringLiteral("Search Result"));
}

void SearchWindowTest::phrasesAndTitlesFindWhatLarkFindsWithoutAsking() {
    QVERIFY(form().project().indexProject() != 0);
    Questions questions(QMessageBox::Ok);
    const auto searchFor = [&](const QString &words, const QString &title) {
        return searchWith([&](SearchDialog &dialog) {
            field(dialog, "bodyText")->setText(words);
            field(dialog, "title")->setText(title);
        });
    };
    SearchResultPage *phrase = searchFor(QStringLiteral("\"second page\""), QString());
    QCOMPARE(addressesOf(*phrase), larkFinds({QStringLiteral("\"second page\"")}));
    QVERIFY(filesOf(*phrase) > 0);
    SearchResultPage *title = searchFor(QString(), QStringLiteral("second"));
    QCOMPARE(addressesOf(*title), larkFinds({QStringLiteral("--title"), QStringLiteral("second")}));
    QCOMPARE(addressesOf(*title), QStringList{url(QStringLiteral("/page2.html"))});
    QCOMPARE(title->caption(), QStringLiteral("Search Results"));
    // Words in the wrong order are no phrase of any page: the page says so.
    SearchResultPage *none = searchFor(QStringLiteral("'page second'"), QString());
    QCOMPARE(filesOf(*none), 0);
    QVERIFY(larkFinds({QStringLiteral("'page second'")}).isEmpty());
    QVERIFY(none->showsNoMatch());
    screenshot(none, QStringLiteral("search-result-none.png"));
    QVERIFY2(questions.texts.isEmpty(), qPrintable(questions.texts.join(u'|')));
}

void SearchWindowTest::theListsOfAllFilesOfAStateFindWhatLarkFinds() {
    fixture_.triggerMenuCommand(QStringLiteral("Search All Errors"));
    SearchResultPage *errors = lastPage();
    QCOMPARE(errors->criteria(), SearchCriteria::ofStates(SearchCriteria::WithErrors));
    const QStringList failed = addressesOf(*errors);
    QCOMPARE(failed, larkFinds({}, QStringLiteral("2")));
    QVERIFY(failed.contains(QStringLiteral("http://127.0.0.1:1/unreachable.html")));
    fixture_.triggerMenuCommand(QStringLiteral("Search All Success"));
    const QStringList succeeded = addressesOf(*lastPage());
    QVERIFY(succeeded.contains(url(QStringLiteral("/index.html"))));
    QVERIFY(!succeeded.contains(QStringLiteral("http://127.0.0.1:1/unreachable.html")));
    fixture_.triggerMenuCommand(QStringLiteral("Search All Queued"));
    QCOMPARE(lastPage()->criteria().states, int16_t(SearchCriteria::Queued));
    // The pages go with the project.
    form().project().setActive(false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(form().findChildren<SearchResultPage *>().isEmpty());
}

void SearchWindowTest::theIndexTickerCountsWhileAnEngineCallWaits() {
    IndexTicker ticker;
    QStringList texts;
    connect(&ticker, &IndexTicker::textChanged, this, [&](const QString &text) { texts << text; });
    ticker.start(100000, 30000);
    // As while the engine imports: only the pump serves the GUI thread.
    for (int wait = 0; wait < 50 && ticker.count() == 0; ++wait) {
        QThread::msleep(50);
        NotificationWindow::pump();
    }
    ticker.stop();
    QCOMPARE(ticker.count(), 30000);
    QCOMPARE(texts.last(), QStringLiteral("Indexing words. Words: 30000 of 100000"));
}

void SearchWindowTest::resultsHaveNoTypeButtonsATasksFilesListHas() {
    fixture_.triggerMenuCommand(QStringLiteral("Search All Success"));
    SearchResultPage *results = lastPage();
    QVERIFY(filesOf(*results) > 0);
    QVERIFY(!results->files().typeButton(QStringLiteral("HTML")));
    const std::vector<TaskRow> tasks = form().project().folderTasks(form().project().selectedFolder());
    QCOMPARE(tasks.size(), size_t(1));
    ItemWindow *task = form().showItems(tasks.front());
    QVERIFY(task->typeButton(QStringLiteral("HTML")));
    QVERIFY(task->list().model().size() >= filesOf(*results));
    task->typeButton(QStringLiteral("HTML"))->setChecked(false);
    for (int row = 0; row < task->list().model().size(); ++row)
        QVERIFY(task->list().model().row(row).type != ItemRow::Html);
}

void SearchWindowTest::newSearchStartsFromThePagesCriteriaAndSearchesInIt() {
    SearchResultPage *page = searchWith([](SearchDialog &dialog) { field(dialog, "size")->setText("200"); });
    QCOMPARE(page->criteria().maxSize, 200);
    const QStringList small = addressesOf(*page);
    QCOMPARE(small, larkFinds({QStringLiteral("--max-size"), QStringLiteral("200")}));
    QVERIFY(!small.isEmpty() && small.size() < larkFinds({}).size());

    QString shownSize;
    whenOpen<SearchDialog>([&](SearchDialog *dialog) {
        shownSize = field(*dialog, "size")->text();
        field(*dialog, "size")->clear();
        box(*dialog, QStringLiteral("Max Results"))->setChecked(true);
        field(*dialog, "maxResults")->setText(QStringLiteral("1"));
        dialog->accept();
    });
    page->newSearchCommand()->trigger();
    QCOMPARE(shownSize, QStringLiteral("200"));
    QCOMPARE(form().findChildren<SearchResultPage *>().size(), 1);
    QCOMPARE(page->criteria().maxResults, 1);
    QCOMPARE(filesOf(*page), 1);
}

SITELARK_GUI_TEST_MAIN(SearchWindowTest)

#include "SearchWindowTest.moc"
