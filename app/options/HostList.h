#pragma once

#include <QTreeWidget>

// The list of ping hosts, whose names are edited in place; an edit under
// way can be cancelled from outside.
class HostList : public QTreeWidget {
    Q_OBJECT

public:
    explicit HostList(QWidget *parent = nullptr);

    bool editing() const { return state() == EditingState; }
    // Ends the edit under way, keeping the name it started from.
    void cancelEditing();
};
