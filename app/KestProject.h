#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QString>

#include "DownloadProgress.h"
#include "ItemChange.h"
#include "NotificationWindow.h"
#include "ProjectProps.h"
#include "RecordBuffer.h"
#include "StatProgress.h"
#include "searches/IndexEstimate.h"
#include "searches/SearchCriteria.h"
#include "views/TaskRow.h"

// The project session: at most one open project, its properties as the
// engine keeps them, the operations the windows use, and the engine's
// notifications turned into signals with values copied out of its records.
// The windows connect to these signals directly. On the GUI thread only.
class KestProject : public QObject {
    Q_OBJECT

public:
    explicit KestProject(QObject *parent = nullptr);
    ~KestProject() override;

    QString fileName() const { return fileName_; }
    void setFileName(const QString &fileName) { fileName_ = fileName; }
    // The file name without folder and extension.
    QString title() const;

    bool active() const;
    // Opens FileName, or closes; nothing when already so.
    void setActive(bool active);
    bool running() const;
    void setRunning(bool running);

    // The properties, read once per open project.
    const eng::client::ProjectProps &properties() const { return properties_; }
    uint32_t projectOptions() const { return properties_.optionFlags; }
    void setProjectOptions(uint32_t options) { properties_.optionFlags = options; }
    // Writes the properties; true when the engine took them.
    bool writeProperties();
    // Sets the connections in all and per server, and writes the properties.
    bool setConnectionLimits(uint16_t connections, uint16_t perServer);
    // Replaces the properties; writeProperties() gives them to the engine.
    void setProperties(const eng::client::ProjectProps &properties) { properties_ = properties; }

    const StatProgress &statistics() const { return statistics_; }
    int defaultAcceptableAge() const { return defaultAcceptableAge_; }
    void setDefaultAcceptableAge(int days) { defaultAcceptableAge_ = days; }
    // The user agent of tasks created without one.
    void setDefaultUserAgent(const QString &agent) { defaultUserAgent_ = agent; }
    const QString &defaultUserAgent() const { return defaultUserAgent_; }

    // Creates a task at the address (normalised first): the new task's id,
    // -5 when the address is no address, 0 when the engine refused.
    int createTask(const QString &address, int depth, uint32_t folder, const QString &name = {});
    // Creates the task the row describes (its address normalised first; an
    // acceptable age below 0 is the project's default, an empty user agent
    // the default one): as createTask above.
    int createTask(TaskRow task);
    // Writes the task's values back; true when the engine took them.
    bool updateTask(const TaskRow &task);
    // Deletes the task and tells the windows it is gone; true when it was.
    bool deleteTask(uint32_t task);
    // Moves the task into the folder: it leaves the windows of its old folder
    // and arrives in those of the new one. Nothing when it is there already.
    void moveTaskToFolder(uint32_t task, uint32_t folder);
    // The task as the engine has it now; nothing for an unknown identifier.
    std::optional<TaskRow> task(uint32_t task) const { return storedTask(task); }
    // The same without a session object, for the program's own pages.
    static std::optional<TaskRow> storedTask(uint32_t task);
    std::vector<TaskRow> folderTasks(uint32_t folder) const;
    // The folder whose tasks the windows show and into which drops go; 0
    // while no project is open.
    uint32_t selectedFolder() const { return selectedFolder_; }
    // Makes the folder the selected one (also for the engine) and tells the windows.
    void selectFolder(uint32_t folder);
    // Creates a folder below the parent and tells the windows: its
    // identifier, 0 when the engine refused.
    uint32_t createFolder(uint32_t parent, const QString &name);
    // Moves the folder below the parent; true when the engine did.
    bool moveFolder(uint32_t folder, uint32_t parent);
    // Loads the tasks of three transfer archives into the folder; true when
    // the engine read them.
    bool loadTransferArchives(const QString &tasks, const QString &resources, const QString &bodies, uint32_t folder);
    // The folder and the folders above it, up to the root.
    std::vector<uint32_t> folderAndParents(uint32_t folder) const;
    // Whether the folder is the other or lies below it.
    bool folderWithin(uint32_t folder, uint32_t other) const;
    // Whether a task exists for the address.
    bool findTasks(const QString &address);
    // Queues an address (an offline address is unwrapped) into a task or a new one.
    int createUrlRes(const QString &address, const QString &formData, uint32_t task);
    // Ends the download of the URL resource; its progress reports the end.
    void abortConnection(uint32_t resource);
    // Starts the project's statistics afresh.
    void resetProgress();
    int refreshableCount() const;
    void refreshProject();
    // Indexes the words of every body not indexed yet; the engine's progress
    // arrives as indexProgress while the call waits. The engine's answer:
    // nonzero when the index was written.
    int indexProject();
    // How many bodies the index lacks, and their bytes.
    struct NotIndexed {
        uint32_t count = 0;
        uint32_t bytes = 0;
    };
    NotIndexed notIndexed() const;
    // How fast the engine built the word index last time (its speed values
    // as the program trusts them), for estimates of the next run.
    IndexSpeeds indexSpeeds() const;
    // Searches the stored files: the engine's answer (1 found, -1 a query
    // does not parse, 0 the search failed) and the files it found.
    struct SearchResult {
        int32_t answer = 0;
        eng::client::RecordBuffer<eng::client::ItemResource> files;
    };
    SearchResult search(const SearchCriteria &criteria);
    // Exports to the folder (its path ends in "/"): a task, or the whole
    // project. The engine's progress arrives as exportProgress while the
    // call waits. True when the export was written.
    bool exportTask(const QString &folder, uint32_t task, uint32_t options, uint32_t nameLength);
    bool exportDatabase(const QString &folder, uint32_t options, uint32_t nameLength);
    // Exports one stored file to the path (a file, or a folder ending in "/").
    bool exportResource(const QString &path, uint32_t resource, uint32_t options, uint32_t nameLength);

signals:
    // After an attempt to open: active() tells whether it succeeded.
    void afterOpen();
    void beforeClose();
    void afterClose();
    void runningChanged(bool running);
    // The engine took the properties that writeProperties() gave it.
    void propertiesWritten();
    void statisticsChanged(const StatProgress &statistics);
    // The first statistics of a project just opened (also sent as statisticsChanged).
    void firstStatistics(const StatProgress &statistics);
    void downloadProgress(const DownloadProgress &progress);
    // Whether the Internet can be reached: 1 it can, 0 it cannot.
    void pingStateChanged(int state);
    void itemChanged(const ItemChange &change);
    void indexProgress(const EngIndexProgressRecord &progress);
    void exportProgress(const EngExportProgressRecord &progress);
    void folderSelected(uint32_t folder);
    void folderMoved(uint32_t folder, uint32_t parent);
    void folderCreated(uint32_t folder, uint32_t parent, const QString &name);
    // Tasks arrived in the folder in a way the engine does not announce one by one.
    void folderFilled(uint32_t folder);
    // A task was created, or moved into another folder.
    void taskAdded(const TaskRow &task);
    void taskChanged(const TaskRow &task);
    // A task was deleted, or (moved) is about to leave its folder.
    void taskRemoved(uint32_t task, bool moved);

public:
    // The hosts pinged to tell whether the Internet can be reached, each
    // followed by CR LF. Setting other hosts tells the windows the last
    // known ping state (2 for none) and gives the hosts to the engine.
    const QString &pingHosts() const { return pingHosts_; }
    void setPingHosts(const QString &hosts);
    // The last ping state: 1 the Internet can be reached, 0 it cannot, 2 not known.
    int pingState() const { return pingState_; }

private:
    void open();
    void close();
    void readProperties();
    void notified(uint32_t message, uintptr_t wParam, intptr_t lParam);
    void statisticsArrived(const EngStatisticsRecord &record);

    QString fileName_;
    std::unique_ptr<NotificationWindow> notifications_;
    eng::client::ProjectProps properties_;
    bool propertiesRead_ = false;
    bool justOpened_ = false;
    StatProgress statistics_;
    int defaultAcceptableAge_ = 360;
    uint32_t selectedFolder_ = 0;
    QString defaultUserAgent_;
    QString pingHosts_;
    int pingState_ = 2;
};
