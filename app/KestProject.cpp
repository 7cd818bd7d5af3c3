#include "KestProject.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>

#include "AddressNormalisation.h"
#include "EngineLibrary.h"
#include "OfflineAddressText.h"
#include "ProgramSettings.h"
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
    pingHosts_.clear();
    pingState_ = 2;
    selectedFolder_ = 0;
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

bool KestProject::writeProperties() {
    if (!eng::client::writeProjectProps(engine().Eng_SetProjectProp, properties_)) return false;
    emit propertiesWritten();
    return true;
}

namespace {

// A task record filled from a row, its strings held alongside it.
class TaskInput {
public:
    explicit TaskInput(const TaskRow &row)
        : url_(row.url.toUtf8()),
          form_(row.formData.toUtf8()),
          agent_(row.userAgent.toUtf8()),
          note_(row.note.toUtf8()),
          name_(row.name.toUtf8()),
          referer_(row.referer.toUtf8()),
          filter_(row.filter) {
        record_.id = row.id;
        record_.url = url_.data();
        record_.formData = form_.data();
        record_.reserved1 = record_.reserved2 = record_.errorText = record_.contentType = empty_.data();
        record_.userAgent = agent_.data();
        record_.note = note_.data();
        record_.name = name_.data();
        record_.referer = referer_.data();
        record_.filter = filter_.data();
        record_.depth = row.depth;
        record_.acceptableAge = row.acceptableAge;
        record_.folder = row.folder;
        record_.lowGraphics = row.lowGraphics;
        record_.followRedirects = row.followRedirects;
    }
    const EngTaskRecord *record() const { return &record_; }

private:
    QByteArray url_, form_, agent_, note_, name_, referer_, filter_, empty_{""};
    EngTaskRecord record_{};
};

}  // namespace

int KestProject::createTask(const QString &address, int depth, uint32_t folder, const QString &name) {
    TaskRow task;
    task.url = address;
    task.depth = static_cast<uint32_t>(depth);
    task.folder = folder;
    task.name = name;
    task.acceptableAge = -1;
    task.followRedirects = true;
    return createTask(std::move(task));
}

int KestProject::createTask(TaskRow task) {
    task.url = normalisedAddress(task.url);
    if (task.url.isEmpty()) return -5;
    if (task.acceptableAge < 0) task.acceptableAge = defaultAcceptableAge_;
    if (task.userAgent.isEmpty()) task.userAgent = defaultUserAgent_;
    return engine().Eng_CreateTask(TaskInput(task).record());
}

bool KestProject::updateTask(const TaskRow &task) { return engine().Eng_UpdateTask(TaskInput(task).record()) != 0; }

bool KestProject::deleteTask(uint32_t task) {
    if (engine().Eng_DeleteTask(task) == 0) return false;
    emit taskRemoved(task, false);
    return true;
}

void KestProject::moveTaskToFolder(uint32_t id, uint32_t folder) {
    std::optional<TaskRow> moved = task(id);
    if (!moved || moved->folder == folder) return;
    emit taskRemoved(id, true);
    moved->folder = folder;
    updateTask(*moved);
    // The engine announces the change; the new folder's windows take the task as added.
    if (const auto now = task(id)) emit taskAdded(*now);
}

std::optional<TaskRow> KestProject::storedTask(uint32_t task) {
    const auto found =
        eng::client::receiveRecords<EngTaskRecord>(engine().Eng_FreeMem, engine().Eng_GetTaskFromID, task);
    const auto record = found.first();
    if (!record) return std::nullopt;
    return TaskRow::fromRecord(*record);
}

std::vector<TaskRow> KestProject::folderTasks(uint32_t folder) const {
    const auto found =
        eng::client::receiveRecords<EngTaskRecord>(engine().Eng_FreeMem, engine().Eng_GetFolderTasks, folder);
    std::vector<TaskRow> rows;
    rows.reserve(found.size());
    for (const EngTaskRecord &record : found) rows.push_back(TaskRow::fromRecord(record));
    return rows;
}

void KestProject::selectFolder(uint32_t folder) {
    selectedFolder_ = folder;
    if (folder) engine().Eng_SetActiveFolder(folder);
    emit folderSelected(folder);
}

uint32_t KestProject::createFolder(uint32_t parent, const QString &name) {
    const int32_t folder = engine().Eng_CreateFolder(parent, name.toUtf8().constData());
    if (folder <= 0) return 0;
    emit folderCreated(static_cast<uint32_t>(folder), parent, name);
    return static_cast<uint32_t>(folder);
}

bool KestProject::moveFolder(uint32_t folder, uint32_t parent) {
    if (engine().Eng_MoveFolder(folder, parent) == 0) return false;
    emit folderMoved(folder, parent);
    return true;
}

bool KestProject::loadTransferArchives(const QString &tasks, const QString &resources, const QString &bodies,
                                       uint32_t folder) {
    const QByteArray taskPath = QFile::encodeName(tasks), resourcePath = QFile::encodeName(resources),
                     bodyPath = QFile::encodeName(bodies);
    const bool loaded = engine().Eng_SerializeTask(taskPath.constData(), resourcePath.constData(), bodyPath.constData(),
                                                   0, folder, nullptr, 0) != 0;
    if (loaded) emit folderFilled(folder);
    return loaded;
}

std::vector<uint32_t> KestProject::folderAndParents(uint32_t folder) const {
    std::vector<uint32_t> path;
    // A folder tree is shallow; the bound keeps a damaged one from looping.
    while (folder != 0 && path.size() < 256) {
        path.push_back(folder);
        const auto found =
            eng::client::receiveRecords<EngFolderRecord>(engine().Eng_FreeMem, engine().Eng_GetFolder, folder);
        const auto record = found.first();
        folder = record ? record->parent : 0;
    }
    return path;
}

bool KestProject::folderWithin(uint32_t folder, uint32_t other) const {
    const std::vector<uint32_t> path = folderAndParents(folder);
    return std::find(path.begin(), path.end(), other) != path.end();
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

bool KestProject::setConnectionLimits(uint16_t connections, uint16_t perServer) {
    properties_.maxConnections = connections;
    properties_.maxPerServer = perServer;
    return writeProperties();
}

void KestProject::setPingHosts(const QString &hosts) {
    if (hosts == pingHosts_) return;
    pingHosts_ = hosts;
    emit pingStateChanged(hosts.isEmpty() ? 2 : pingState_);
    engine().Eng_PingHosts(hosts.toUtf8().constData());
}

void KestProject::abortConnection(uint32_t resource) { engine().Eng_AbortConnection(resource); }

void KestProject::resetProgress() { engine().Eng_ResetProgress(); }

int KestProject::refreshableCount() const { return engine().Eng_CountRefreshable(ENG_REFRESH_CONNECTION_ERRORS); }

void KestProject::refreshProject() { engine().Eng_RefreshPrj(ENG_REFRESH_CONNECTION_ERRORS); }

int KestProject::indexProject() { return engine().Eng_IndexDatabase(); }

KestProject::NotIndexed KestProject::notIndexed() const {
    NotIndexed found;
    engine().Eng_CountNotIndexedResources(&found.count, &found.bytes);
    return found;
}

IndexSpeeds KestProject::indexSpeeds() const {
    const ProgramSettings settings;
    return IndexSpeeds::fromStored(settings.number(QStringLiteral("ExtractWordsPerSec")),
                                   settings.number(QStringLiteral("IndexWordsPerSec")));
}

KestProject::SearchResult KestProject::search(const SearchCriteria &c) {
    const QByteArray body = c.bodyText.toUtf8(), address = c.addressPattern.toUtf8(), title = c.titlePattern.toUtf8();
    auto [answer, buffer] = eng::client::receiveWithResult(
        engine().Eng_FreeMem, engine().Eng_SearchItems, c.maxResults, body.constData(), c.states, address.constData(),
        title.constData(), c.minSize, c.maxSize, c.doneFrom, c.doneTo, c.modifiedFrom, c.modifiedTo, c.type);
    return {answer, eng::client::RecordBuffer<eng::client::ItemResource>(std::move(buffer))};
}

bool KestProject::exportTask(const QString &folder, uint32_t task, uint32_t options, uint32_t nameLength) {
    const QByteArray path = QFile::encodeName(folder);
    return engine().Eng_ExportTask(path.constData(), task, options, nameLength) == 1;
}

bool KestProject::exportDatabase(const QString &folder, uint32_t options, uint32_t nameLength) {
    const QByteArray path = QFile::encodeName(folder);
    return engine().Eng_ExportDatabase(path.constData(), options, nameLength) == 1;
}

bool KestProject::exportResource(const QString &path, uint32_t resource, uint32_t options, uint32_t nameLength) {
    const QByteArray file = QFile::encodeName(path);
    return engine().Eng_ExportRes(file.constData(), resource, options, nameLength) == 1;
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
        case ENG_NOTIFY_EXPORT:
            if (const auto record = recordAt<EngExportProgressRecord>(payload, 0)) emit exportProgress(*record);
            break;
        case ENG_NOTIFY_URLRES: {
            const auto notification = recordAt<eng::client::ResourceNotification>(payload, 0);
            if (!notification) return;
            emit itemChanged(ItemChange{notification->action, notification->resource.id, notification->item.item,
                                        notification->item.task,
                                        ItemRow::fromRecords(notification->item, notification->resource)});
            break;
        }
        case ENG_NOTIFY_ONLINE:
            pingState_ = wParam ? 1 : 0;
            emit pingStateChanged(pingState_);
            break;
        case ENG_NOTIFY_TASK_ADDED:
            if (const auto record = recordAt<EngTaskRecord>(payload, 0)) emit taskAdded(TaskRow::fromRecord(*record));
            break;
        case ENG_NOTIFY_TASK_CHANGED:
            if (const auto record = recordAt<EngTaskRecord>(payload, 0)) emit taskChanged(TaskRow::fromRecord(*record));
            break;
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
