#pragma once

#include <memory>

#include <QObject>
#include <QString>

#include "DownloadProgress.h"
#include "ItemChange.h"
#include "NotificationWindow.h"
#include "ProjectProps.h"
#include "StatProgress.h"

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

    const StatProgress &statistics() const { return statistics_; }
    int defaultAcceptableAge() const { return defaultAcceptableAge_; }
    void setDefaultAcceptableAge(int days) { defaultAcceptableAge_ = days; }
    // The user agent of tasks created without one.
    void setDefaultUserAgent(const QString &agent) { defaultUserAgent_ = agent; }

    // Creates a task at the address (normalised first): the new task's id,
    // -5 when the address is no address, 0 when the engine refused.
    int createTask(const QString &address, int depth, uint32_t folder, const QString &name = {});
    // Whether a task exists for the address.
    bool findTasks(const QString &address);
    // Queues an address (an offline address is unwrapped) into a task or a new one.
    int createUrlRes(const QString &address, const QString &formData, uint32_t task);
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

signals:
    // After an attempt to open: active() tells whether it succeeded.
    void afterOpen();
    void beforeClose();
    void afterClose();
    void runningChanged(bool running);
    void statisticsChanged(const StatProgress &statistics);
    // The first statistics of a project just opened (also sent as statisticsChanged).
    void firstStatistics(const StatProgress &statistics);
    void downloadProgress(const DownloadProgress &progress);
    void itemChanged(const ItemChange &change);
    void indexProgress(const EngIndexProgressRecord &progress);

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
    QString defaultUserAgent_;
};
