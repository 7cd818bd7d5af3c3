#pragma once

#include <array>
#include <cstdint>

#include <QTabWidget>

class ItemListFrame;
class KestProject;
class QTimer;

// The files related to one stored file, on three tabs: the files its page
// embeds ("Contains"), the pages it links to ("Links to") and the pages
// that link to it ("Referenced by"). It follows a selection elsewhere: the
// related files of the last file chosen are loaded half a second after the
// choice settles, while the panel is shown and no popup menu is open.
class RelatedFilesPanel : public QTabWidget {
    Q_OBJECT

public:
    RelatedFilesPanel(KestProject &project, QWidget *parent);

    // The list of a tab: 0 "Contains", 1 "Links to", 2 "Referenced by".
    ItemListFrame &list(int tab) const { return *lists_[static_cast<size_t>(tab)]; }
    // Loads the resource's related files after the pause (0: clears the lists).
    void follow(uint32_t resource);
    // Loads them now.
    void load(uint32_t resource);
    uint32_t resource() const { return resource_; }
    void clear();

signals:
    // The lists were loaded for the resource.
    void loaded(uint32_t resource);

private:
    void loadWhenIdle();

    static constexpr int kTabs = 3;
    std::array<ItemListFrame *, kTabs> lists_{};
    QTimer *pause_;
    uint32_t pending_ = 0;
    uint32_t resource_ = 0;
};
