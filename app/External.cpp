#include "External.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

#include "BrowserForm.h"
#include "BrowserPage.h"
#include "EngineLibrary.h"
#include "FilterTestSubject.h"
#include "FragmentLinks.h"
#include "KestProject.h"
#include "OfflineAddressText.h"
#include "TaskCreation.h"
#include "dialogs/NewTaskDialog.h"
#include "options/OptionsDialog.h"
#include "options/OptionsRequests.h"
#include "options/ProjectPropertiesDialog.h"

External::External(BrowserPage &page, KestProject &project) : page_(page), project_(project) {}

bool External::allowed() const { return page_.ownPage() && project_.active(); }

void External::GoOnline() {
    if (allowed()) project_.setRunning(true);
}

void External::DeleteItem(int itemId) {
    if (!allowed()) return;
    const bool deleted = engine().Eng_DeleteUrlRes(static_cast<uint32_t>(itemId)) != 0;
    QMessageBox::information(
        page_.viewWidget(), QStringLiteral("Sitelark"),
        deleted ? QStringLiteral("File was deleted successfully.") : QStringLiteral("Can't delete the item."));
}

void External::TurnOffDoNotQueue() {
    if (!allowed()) return;
    project_.setProjectOptions(project_.projectOptions() & ~ENG_OPTION_NO_OFFLINE_ENQUEUE);
    project_.writeProperties();
}

void External::RefreshProject() {
    if (!allowed()) return;
    if (QMessageBox::question(page_.viewWidget(), QStringLiteral("Sitelark"),
                              QStringLiteral("This will refresh all files that were not retrieved because of "
                                             "Internet connection errors."),
                              QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok)
        project_.refreshProject();
}

void External::EnqueueItem(const QString &url) {
    if (!allowed() || !isOfflineAddress(url)) return;
    if (project_.createUrlRes(url, QString(), offlineNumber(url)) == 0)
        QMessageBox::information(page_.viewWidget(), QStringLiteral("Sitelark"),
                                 QStringLiteral("Resources were not enqueued because they already exist or URL is "
                                                "not valid."));
}

void External::EnqueueFromText(const QString &documentUrl, const QString &html) {
    if (allowed()) enqueueLinks(page_.viewWidget(), project_, fragmentLinks(documentUrl, html));
}

void External::CreateTasksFromText(const QString &documentUrl, const QString &html) {
    if (allowed()) createTasksForLinks(page_.viewWidget(), project_, fragmentLinks(documentUrl, html));
}

void External::CreateTask(const QString &url) {
    if (allowed() && isOfflineAddress(url)) askAndCreateTask(page_.viewWidget(), project_, wrappedAddress(url), 1);
}

void External::OpenInExternal(const QString &url) {
    if (!allowed() || !isOfflineAddress(url)) return;
    const QString address = wrappedAddress(url);
    if (!QDesktopServices::openUrl(QUrl(address)))
        QMessageBox::critical(page_.viewWidget(), QStringLiteral("Sitelark"),
                              QStringLiteral("Can't open the URL: ") + address);
}

void External::RefreshTask(int taskId) {
    if (allowed()) engine().Eng_RefreshTask(static_cast<uint32_t>(taskId), ENG_REFRESH_CONNECTION_ERRORS);
}

void External::TestUrl(const QString &url) {
    if (allowed()) FilterTestSubject::instance().setAddress(url);
}

void External::SetTestMask(int maskIndex) {
    if (allowed()) FilterTestSubject::instance().chooseKind(maskIndex);
}

void External::CheckPing() {
    if (allowed()) emit OptionsRequests::instance().optionsRequested(OptionsDialog::Ping);
}

void External::ShowProxySettings() {
    if (allowed()) emit OptionsRequests::instance().optionsRequested(OptionsDialog::Proxy);
}

void External::ShowProjectOptions(int page) {
    if (allowed() && page >= ProjectPropertiesDialog::General && page <= ProjectPropertiesDialog::Notes)
        emit OptionsRequests::instance().projectPropertiesRequested(page);
}

void External::ShowTaskProperties(int taskId) {
    if (!allowed()) return;
    if (const std::optional<TaskRow> task = project_.task(static_cast<uint32_t>(taskId)))
        NewTaskDialog::edit(page_.viewWidget(), project_, *task, 1);
}

void External::TaskTestFilter(int taskId) {
    if (!allowed()) return;
    FilterTestSubject &subject = FilterTestSubject::instance();
    subject.setAddress(QStringLiteral("http://www.example.com/index.html"));
    subject.setKind(ENG_LINK_HYPERLINK);
    QWebEnginePage *window = nullptr;
    emit page_.windowWanted(&window);
    if (!window) return;
    if (BrowserForm *form = BrowserForm::showing(window)) form->showPageAlone();
    window->load(QUrl(QStringLiteral("qzinfo://urltestfilter/%1/").arg(taskId)));
}
