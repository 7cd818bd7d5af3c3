#pragma once

#include <filesystem>
#include <memory>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "support/NginxServer.h"
#include "support/TempDir.h"

class BrowserForm;
class KestProject;
class MainForm;
class QWebEnginePage;
class QWidget;

namespace gui_test {

// What a GUI test class starts from, so that each class, and each of its
// test functions, runs alone and in any order: the test site (GuiTestSite.h)
// served by an nginx of the class's own, a project made once per class, and
// for each test function fresh settings, a copy of that project in a folder
// of its own and a main window.
class GuiFixture {
public:
    enum class Project {
        None,     // no project file: the test makes its own
        Empty,    // a new project from the template
        Crawled,  // the site mirrored by lark to depth 2, the server that is down included
        Large,    // instead of that site, a generated one of kLargeSitePages pages mirrored whole
    };
    static constexpr int kLargeSitePages = 10000;

    enum class Server {
        Serving,  // the site's server runs until the class ends
        Stopped,  // it stops once the project is made: nothing more comes from the network
    };
    enum class Window {
        Empty,        // the main window has no project open
        WithProject,  // it has opened the project's copy
    };

    // Once per class (initTestCase): the site, its server and the project.
    void prepare(Project project, Server server = Server::Serving);

    // Before each test function (init): fresh settings, the project's copy
    // as site.slk in a folder of the function's own, and the main window shown.
    void setUp(Window window = Window::WithProject);
    // After each (cleanup): the main window closes, with the project and every browser.
    void tearDown();

    MainForm &form() const { return *form_; }
    KestProject &project() const;
    // The site's address for the path, also once its server has stopped.
    QString url(const QString &path) const { return base_ + path; }
    const std::filesystem::path &siteRoot() const { return site_.path(); }
    // A file in the test function's folder; the project's copy is site.slk there.
    QString workPath(const QString &name) const { return work_->filePath(name); }
    QString projectPath() const { return workPath(QStringLiteral("site.slk")); }
    // The project as prepare() made it, to be copied.
    QString preparedProject() const;

    // Shows the address in the default browser and waits until it has loaded.
    QWebEnginePage *showInBrowser(const QString &address);
    // The default browser of the last showInBrowser().
    BrowserForm *browser() const { return browser_; }
    // Triggers the main window's command (a menu entry) with the text.
    void triggerMenuCommand(const QString &text) const;
    // Chooses the entry with the text in the menu bar's menu with the title
    // (without its '&'), or in a submenu of it, as a user does: it must be
    // there, shown and enabled.
    void chooseMenuEntry(const QString &menu, const QString &text) const;
    // Closes the main window now, for a test that starts one of its own.
    void closeForm();
    // Stops the site's server: from then on nothing comes from the network.
    void stopServer() { nginx_.reset(); }

private:
    test::TempDir site_;
    std::unique_ptr<test::NginxServer> nginx_;
    QString base_;
    test::TempDir prepared_;
    Project project_ = Project::None;
    std::unique_ptr<QTemporaryDir> work_;
    std::unique_ptr<MainForm> form_;
    BrowserForm *browser_ = nullptr;
};

// Saves a picture of the widget as the file in the build folder.
void screenshot(QWidget *widget, const QString &name);
// Runs the built lark program; its standard output.
QString larkOutput(const QStringList &arguments);
// Whether the open project holds a fetched copy of the address, good or failed.
bool stored(const QString &address);

}  // namespace gui_test
