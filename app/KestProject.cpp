#include "KestProject.h"

#include <QFileInfo>
#include <array>
#include <cstring>

#include "AddressNormalisation.h"
#include "EngineLibrary.h"
#include "OfflineAddressText.h"
#include "RecordRelease.h"

KestProject::KestProject(QObject *parent)
    : QObject(parent),
      notifications_(std::make_unique<NotificationWindow>(
          [this](uint32_t message, uintptr_t wParam, intptr_t lParam) { notified(message, wParam, lParam); })) {
    pointAtTexts();
}

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
    texts_ = {};
    pointAtTexts();
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
    void *addr = nullptr;
    uint32_t len = 0;
    if (engine().Eng_GetProjectProp(&addr, &len) != 0) return;  // 0 means read
    if (len < sizeof(EngProjectProps)) {
        engine().Eng_FreeMem(addr);
        return;
    }
    std::memcpy(&properties_, addr, sizeof properties_);
    // Every text is copied out, so that writing the properties gives them back unchanged.
    const std::array<char *, 5> texts{properties_.note, properties_.filter, properties_.userText, properties_.httpProxy,
                                      properties_.ftpProxy};
    for (size_t i = 0; i < texts.size(); ++i) {
        texts_[i] = QByteArray(texts[i] ? texts[i] : "");
        engine().Eng_FreeMem(texts[i]);
    }
    engine().Eng_FreeMem(addr);
    pointAtTexts();
    propertiesRead_ = true;
}

void KestProject::pointAtTexts() {
    properties_.note = texts_[0].data();
    properties_.filter = texts_[1].data();
    properties_.userText = texts_[2].data();
    properties_.httpProxy = texts_[3].data();
    properties_.ftpProxy = texts_[4].data();
}

bool KestProject::writeProperties() { return engine().Eng_SetProjectProp(&properties_, sizeof properties_) != 0; }

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
    void *addr = nullptr;
    uint32_t len = 0;
    engine().Eng_FindTasks(url.constData(), "", &addr, &len);
    const size_t count = len / sizeof(EngTaskRecord);
    for (size_t k = 0; k < count; ++k) {
        EngTaskRecord record;
        std::memcpy(&record, static_cast<char *>(addr) + k * sizeof record, sizeof record);
        eng::releaseRecordStrings(record, engine().Eng_FreeMem);
        NotificationWindow::pump();
    }
    if (addr) engine().Eng_FreeMem(addr);
    return count > 0;
}

int KestProject::createUrlRes(const QString &address, const QString &formData, uint32_t task) {
    const QByteArray url = wrappedAddress(address).toUtf8(), form = formData.toUtf8();
    return engine().Eng_CreateUrlRes(url.constData(), form.constData(), task);
}

int KestProject::refreshableCount() const { return engine().Eng_CountRefreshable(kConnectionErrors); }

void KestProject::refreshProject() { engine().Eng_RefreshPrj(kConnectionErrors); }

void KestProject::notified(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const auto *payload = reinterpret_cast<const char *>(lParam);
    switch (message) {
        case ENG_NOTIFY_PROGRESS: {
            EngDownloadProgressRecord record;
            if (wParam < sizeof record) return;
            std::memcpy(&record, payload, sizeof record);
            emit downloadProgress(DownloadProgress::fromRecord(record));
            break;
        }
        case ENG_NOTIFY_STATISTICS:
            statisticsArrived(payload, wParam);
            break;
        case ENG_NOTIFY_URLRES: {
            EngItemRecord item;
            EngUrlResRecord resource;
            if (wParam < 1 + sizeof item + sizeof resource) return;
            std::memcpy(&item, payload + 1, sizeof item);
            std::memcpy(&resource, payload + 1 + sizeof item, sizeof resource);
            emit itemChanged(ItemChange{static_cast<uint8_t>(payload[0]), resource.id, item.item, item.task});
            break;
        }
        default:
            break;
    }
}

void KestProject::statisticsArrived(const char *payload, size_t length) {
    EngStatisticsRecord record;
    if (!active() || length < sizeof record) return;
    std::memcpy(&record, payload, sizeof record);
    statistics_ = StatProgress{record.bytesReceived, record.averageSpeed, record.bytesLastSecond,
                               record.remainingTime, record.elapsedTime,  record.queued,
                               record.done,          record.errors};
    emit statisticsChanged(statistics_);
    if (!justOpened_) return;
    justOpened_ = false;
    emit firstStatistics(statistics_);
}
