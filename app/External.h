#pragma once

#include <QObject>
#include <QString>

class BrowserPage;
class KestProject;

// The scripting object that the program's own pages (status pages, "qzinfo:"
// pages) reach as window.external. Every page gets the channel to it, so
// every member first asks whether the page now shown is the program's own:
// for stored web content each call does nothing, so no downloaded page can
// delete data or change settings.
class External : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString id READ id CONSTANT)

public:
    External(BrowserPage &page, KestProject &project);
    QString id() const { return QStringLiteral("Quenmar"); }

public slots:
    void GoOnline();
    void DeleteItem(int itemId);
    void TurnOffDoNotQueue();
    void RefreshProject();
    void EnqueueItem(const QString &url);
    void EnqueueFromText(const QString &documentUrl, const QString &html);
    void CreateTasksFromText(const QString &documentUrl, const QString &html);
    void CreateTask(const QString &url);
    void OpenInExternal(const QString &url);
    void RefreshTask(int taskId);
    // The address and the kind (by its place in the choice) that the filter test page tests.
    void TestUrl(const QString &url);
    void SetTestMask(int maskIndex);
    // The Options dialog on its "Ping" and "Proxy" pages, the project
    // properties on a page (0 general, 1 filters, 2 notes).
    void CheckPing();
    void ShowProxySettings();
    void ShowProjectOptions(int page);
    // The task dialog of the task, on its filter page.
    void ShowTaskProperties(int taskId);
    // A new browser window with the filter test page of the task, testing a default page as a link.
    void TaskTestFilter(int taskId);

private:
    bool allowed() const;

    BrowserPage &page_;
    KestProject &project_;
};
