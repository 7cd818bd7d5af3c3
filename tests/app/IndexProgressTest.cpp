// Indexing a crawled site of ten thousand pages from the program's process:
// the call waits on the GUI thread, which goes on serving the engine's
// notifications, so the index progress reaches the program while it runs,
// not in a heap after it.

#include <vector>

#include <QElapsedTimer>
#include <QTest>

#include "GuiTestCase.h"
#include "GuiTestProgram.h"
#include "KestProject.h"

using namespace gui_test;

class IndexProgressTest : public GuiTestCase {
    Q_OBJECT

private slots:
    void initTestCase() { fixture_.prepare(GuiFixture::Project::Large, GuiFixture::Server::Stopped); }
    void init() { fixture_.setUp(); }
    void cleanup() { fixture_.tearDown(); }

    void theProgressArrivesWhileTheIndexIsWritten();
};

void IndexProgressTest::theProgressArrivesWhileTheIndexIsWritten() {
    KestProject &project = form().project();
    const uint32_t bodies = project.notIndexed().count;
    QVERIFY2(bodies >= GuiFixture::kLargeSitePages, qPrintable(QString::number(bodies)));

    struct Arrival {
        EngIndexProgressRecord progress;
        qint64 atMs;
    };
    std::vector<Arrival> arrivals;
    bool callReturned = false;
    int afterTheCall = 0;
    QElapsedTimer clock;
    connect(&project, &KestProject::indexProgress, this, [&](const EngIndexProgressRecord &progress) {
        arrivals.push_back({progress, clock.elapsed()});
        afterTheCall += callReturned;
    });
    clock.start();
    QVERIFY(project.indexProject() != 0);
    const qint64 callMs = clock.elapsed();
    callReturned = true;
    QTest::qWait(200);  // anything still queued arrives now

    QCOMPARE(afterTheCall, 0);
    QVERIFY(arrivals.size() > bodies);  // one while starting, then one per body
    QCOMPARE(arrivals.front().progress.phase, ENG_INDEX_STARTING);
    QCOMPARE(arrivals.back().progress.phase, ENG_INDEX_IMPORTING);
    int32_t done = 0;
    qint64 longestGapMs = 0;
    for (size_t k = 1; k < arrivals.size(); ++k) {
        const EngIndexProgressRecord &progress = arrivals[k].progress;
        QVERIFY(progress.phase >= arrivals[k - 1].progress.phase);
        QVERIFY(progress.done >= done);
        QCOMPARE(uint32_t(progress.bodies), bodies);
        done = progress.done;
        longestGapMs = std::max(longestGapMs, arrivals[k].atMs - arrivals[k - 1].atMs);
    }
    QCOMPARE(uint32_t(done), bodies);
    QVERIFY(arrivals.back().progress.words > 0);
    QCOMPARE(project.notIndexed().count, 0u);
    qInfo("indexed %u bodies, %d words in %lld ms; %zu progress notifications, longest gap %lld ms", bodies,
          arrivals.back().progress.words, callMs, arrivals.size(), longestGapMs);
}

SITELARK_GUI_TEST_MAIN(IndexProgressTest)

#include "IndexProgressTest.moc"
