#include "GuiFixture.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "GuiTestSite.h"
#include "MainForm.h"
#include "ProjectTemplate.h"
#include "StoredResource.h"
#include "base/SettingsStore.h"
#include "support/TestSite.h"

namespace gui_test {

void GuiFixture::prepare(Project project, Server server) {
    project_ = project;
    nginx_ = std::make_unique<test::NginxServer>(site_.path());
    base_ = QString::fromStdString(nginx_->url(""));
    if (project == Project::Large) {
        test::TestSite::Options large;
        large.baseUrl = base_.toStdString();
        large.pages = kLargeSitePages;
        large.specials = false;
        test::TestSite(large).write(site_.path());
    } else {
        writeSite(site_.path());
    }
    if (project == Project::Empty) eng::writeNewProject(preparedProject().toStdString());
    if (project == Project::Crawled || project == Project::Large) {
        const QStringList scope =
            project == Project::Crawled
                ? QStringList{QStringLiteral("--depth"), QStringLiteral("2"), QStringLiteral("--span-hosts")}
                : QStringList{QStringLiteral("--depth"), QStringLiteral("100")};
        larkOutput(QStringList{QStringLiteral("mirror"), url(QStringLiteral("/index.html")), QStringLiteral("-o"),
                               preparedProject()} +
                   scope);
        QVERIFY2(QFile::exists(preparedProject()), "lark made no project");
    }
    if (server == Server::Stopped) nginx_.reset();
}

QString GuiFixture::preparedProject() const { return QString::fromStdString((prepared_.path() / "site.slk").string()); }

KestProject &GuiFixture::project() const { return form_->project(); }

void GuiFixture::setUp(Window window) {
    std::filesystem::remove(eng::SettingsStore::defaultFile());
    work_ = std::make_unique<QTemporaryDir>();
    if (project_ != Project::None) QVERIFY(QFile::copy(preparedProject(), projectPath()));
    form_ = std::make_unique<MainForm>(QStringList{QStringLiteral("Sitelark")});
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    if (window == Window::Empty) return;
    form_->openFile(projectPath());
    QVERIFY(form_->project().active());
}

void GuiFixture::closeForm() {
    if (!form_) return;
    form_->close();  // as the user closes it: the project and the browser windows go too
    form_.reset();
    browser_ = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void GuiFixture::tearDown() {
    closeForm();
    work_.reset();
}

QWebEnginePage *GuiFixture::showInBrowser(const QString &address) {
    browser_ = form_->openBrowser(address, 0, QDateTime::currentDateTime(), false);
    QSignalSpy loaded(browser_->page(), &QWebEnginePage::loadFinished);
    if (!loaded.wait(20000)) QTest::qFail("the page did not load", __FILE__, __LINE__);
    return browser_->page();
}

void GuiFixture::triggerMenuCommand(const QString &text) const {
    for (QAction *action : form_->findChildren<QAction *>())
        if (action->text() == text) return action->trigger();
    QFAIL(qPrintable(QStringLiteral("no command ") + text));
}

namespace {

QAction *entryIn(const QMenu &menu, const QString &text) {
    for (QAction *entry : menu.actions()) {
        if (entry->text() == text) return entry;
        if (entry->menu())
            if (QAction *inner = entryIn(*entry->menu(), text)) return inner;
    }
    return nullptr;
}

}  // namespace

void GuiFixture::chooseMenuEntry(const QString &menu, const QString &text) const {
    for (QAction *title : form_->menuBar()->actions()) {
        if (!title->menu() || title->text().remove(u'&') != menu) continue;
        QAction *entry = entryIn(*title->menu(), text);
        QVERIFY2(entry, qPrintable(QStringLiteral("no entry %1 in the menu %2").arg(text, menu)));
        QVERIFY2(title->isEnabled() && entry->isVisible() && entry->isEnabled(),
                 qPrintable(text + QStringLiteral(" is not enabled")));
        return entry->trigger();
    }
    QFAIL(qPrintable(QStringLiteral("no menu ") + menu));
}

void screenshot(QWidget *widget, const QString &name) {
    QTest::qWait(200);  // the last frame painted
    QVERIFY(widget->grab().save(QStringLiteral(SCREENSHOT_DIR "/") + name));
}

QString larkOutput(const QStringList &arguments) {
    QProcess process;
    process.start(QStringLiteral(LARK_PROGRAM), arguments);
    process.waitForFinished(300000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool stored(const QString &address) {
    const auto resource = storedResource(address);
    return resource && resource->done;
}

}  // namespace gui_test
