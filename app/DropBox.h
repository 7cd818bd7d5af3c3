#pragma once

#include <QPoint>
#include <QWidget>

class KestProject;
class QMimeData;
class QVariantAnimation;
class ProgramSettings;

// A small window that stays on top and takes addresses dropped from other
// programs: each becomes a task in its folder, and the box's arrow drops
// once to show it took them. It is moved by dragging it;
// its menu shows the main window, launches a browser, hides it and sets its
// transparency. Its place, transparency and visibility are kept.
class DropBox : public QWidget {
    Q_OBJECT

public:
    DropBox(KestProject &project, ProgramSettings &settings, QWidget *mainWindow);
    // Keeps the place, transparency and visibility.
    void save() const;

    // Takes what was dropped: the number of tasks created in the box's folder.
    int take(const QMimeData &data);
    bool animating() const;

signals:
    void browserRequested();
    void helpRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void setFolder(uint32_t folder);

    KestProject &project_;
    ProgramSettings &settings_;
    QWidget *mainWindow_;
    uint32_t folder_ = 0;
    QPoint grabbedAt_;
    QVariantAnimation *drop_;  // the arrow's way down, 0 to 1
};
