#include "KestProject.h"

#include <QFileInfo>

#include "AddressNormalisation.h"
#include "EngineLibrary.h"
#include "OfflineAddressText.h"
#include "RecordBuffer.h"

KestProject::KestProject(QObject *parent)
    : QObject(parent),
      notifications_(std::make_unique<NotificationWindow>(
          [this](uint32_t message, uintptr_t wParam, intptr_t lParam) { notified(message, wParam, lParam); })) {}

KestProject::~KestProject() { close(); }

QString KestProject::title() const { return QFileInfo(fileName_).completeBaseName(); }

bool KestProject::active() const { return engine().Eng_IsOpen() != 0; }

void KestProject::setActive(bool active) {
    if (active == this->active()) return;
    if (active)
        open();
    else
        close();
}

void KestProject::open() {
    const QByteArray path = fileName_.toLocal8Bit();
    if (engine().Eng_OpenProject(path.constData(), nullptr, notifications_->window(), &NotificationWindow::pump) == 0) {
        justOpened_ = true;
        readProperties();
    }
    emit afterOpen();
}

void KestProject::close() {
    if (!active()) return;
    emit beforeClose();
    setRunning(false);
    engine().Eng_CloseProject();
    NotificationWindow::pump();
    propertiesRead_ = false;
    properties_ = {};
    emit afterClose();
}

bool KestProject::running() const { return engine().Eng_IsOnline() != 0; }

void KestProject::setRunning(bool running) {
    if (running == this->running()) return;
    if (running) {
        if (properties_.maxConnections == 0) {
            properties_.maxConnections = 1;
            writeProperties();
        }
        engine().Eng_Run();
    } else {
        engine().Eng_Stop();
    }
    emit runningChanged(running);
}

void KestProject::readProperties() {
    if (propertiesRead_) return;
    // Every text comes with them, so that writing the properties gives them back unchanged.
    auto read = eng::client::readProjectProps(engine().Eng_GetProjectProp, engine().Eng_FreeMem);
    if (!read) return;
    properties_ = std::move(*read);
    propertiesRead_ = true;
}

bool KestProject::writeProperties() { return eng::client::writeProjectProps(engine().Eng_SetProjectProp, properties_); }

int KestProject::createTask(const QString &address, int depth, uint32_t folder, const QString &name) {
    const QByteArray url = normalisedAddress(address).toUtf8();
    if (url.isEmpty()) return -5;
    const QByteArray agent = defaultUserAgent_.toUtf8(), title = name.toUtf8();
    EngTaskRecord task{};
    task.url = const_cast<char *>(url.constData());
    task.formData = task.reserved1 = task.reserved2 = task.filter = task.note = task.referer = task.errorText =
        task.contentType = const_cast<char *>("");
    task.userAgent = const_cast<char *>(agent.constData());
    task.name = const_cast<char *>(title.constData());
    task.depth = static_cast<uint32_t>(depth);
    task.acceptableAge = defaultAcceptableAge_;
    task.folder = folder;
    task.followRedirects = 1;
    return engine().Eng_CreateTask(&task);
}

bool KestProject::findTasks(const QString &address) {
    const QByteArray url = normalisedAddress(address).toUtf8();
    const auto found =
        eng::client::receiveRecords<EngTaskRecord>(engine().Eng_FreeMem, engine().Eng_FindTasks, url.constData(), "");
    // Notifications that arrived meanwhile are served, once per task found.
    for (size_t k = 0; k < found.size(); ++k) NotificationWindow::pump();
    return !found.empty();
}

int KestProject::createUrlRes(const QString &address, const QString &formData, uint32_t task) {
    const QByteArray url = wrappedAddress(address).toUtf8(), form = formData.toUtf8();
    return engine().Eng_CreateUrlRes(url.constData(), form.constData(), task);
}

int KestProject::refreshableCount() const { return engine().Eng_CountRefreshable(ENG_REFRESH_CONNECTION_ERRORS); }

void KestProject::refreshProject() { engine().Eng_RefreshPrj(ENG_REFRESH_CONNECTION_ERRORS); }

int KestProject::indexProject() { return engine().Eng_IndexDatabase(); }

KestProject::NotIndexed KestProject::notIndexed() const {
    NotIndexed found;
    engine().Eng_CountNotIndexedResources(&found.count, &found.bytes);
    return found;
}

void KestProject::notified(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    using eng::client::recordAt;
    const std::span<const std::byte> payload = eng::client::notificationPayload(message, wParam, lParam);
    switch (message) {
        case ENG_NOTIFY_PROGRESS: {
            if (const auto record = recordAt<EngDownloadProgressRecord>(payload, 0))
                emit downloadProgress(DownloadProgress::fromRecord(*record));
            break;
        }
        case ENG_NOTIFY_STATISTICS:
            if (const auto record = recordAt<EngStatisticsRecord>(payload, 0)) statisticsArrived(*record);
            break;
        case ENG_NOTIFY_INDEX:
            if (const auto record = recordAt<EngIndexProgressRecord>(payload, 0)) emit indexProgress(*record);
            break;
        case ENG_NOTIFY_URLRES: {
            const auto notification = recordAt<eng::client::ResourceNotification>(payload, 0);
            if (!notification) return;
            emit itemChanged(ItemChange{notification->action, notification->resource.id, notification->item.item,
                                        notification->item.task});
            break;
        }
        default:
            break;
    }
}

void KestProject::statisticsArrived(const EngStatisticsRecord &record) {
    if (!active()) return;
    statistics_ = StatProgress{record.bytesReceived, record.averageSpeed, record.bytesLastSecond,
                               record.remainingTime, record.elapsedTime,  record.queued,
                               record.done,          record.errors};
    emit statisticsChanged(statistics_);
    if (!justOpened_) return;
    justOpened_ = false;
    emit firstStatistics(statistics_);
}
