#pragma once

#include "OptionsPage.h"

class HostList;
class KestProject;
class QPushButton;
class QTimer;
class QTreeWidgetItem;

// The "Ping" page: whether pinging is used and the hosts pinged (at most
// 15), with the state of each as the engine last saw it, read every second
// while pinging is on and a project is open. An edited host list is given
// to the project at once.
class PingOptionsPage : public OptionsPage {
    Q_OBJECT

public:
    static constexpr int kMaxHosts = 15;

    PingOptionsPage(KestProject &project, QWidget *parent = nullptr);

    void load(const ProgramOptions &options) override;
    void store(ProgramOptions &options) const override;

    HostList *hosts() const { return hosts_; }
    // Whether a host name is being edited, and ends that edit unchanged.
    bool editing() const;
    void cancelEditing();
    // The host names, each followed by CR LF.
    QString hostsText() const;

signals:
    // The user changed the list (added, edited or removed a host).
    void hostsEdited(const QString &hosts);

private:
    void addHost();
    void editHost(QTreeWidgetItem *row);
    void removeHost();
    void hostNamed(QTreeWidgetItem *row);
    void followState();
    // The rows' pictures say whether pinging is on.
    void showEnabled(bool on);
    void showStates();
    QTreeWidgetItem *newRow(const QString &host);

    KestProject &project_;
    QCheckBox *enabled_;
    HostList *hosts_;
    QPushButton *add_;
    QPushButton *edit_;
    QPushButton *remove_;
    QTimer *timer_;
};
