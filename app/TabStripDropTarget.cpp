#include "TabStripDropTarget.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTabBar>

#include "KestProject.h"
#include "views/TransferReceiver.h"

namespace {

constexpr int kMovesToSwitch = 20;

}  // namespace

TabStripDropTarget::TabStripDropTarget(QTabBar *tabs, KestProject &project)
    : QObject(tabs), tabs_(tabs), project_(project) {
    tabs->setAcceptDrops(true);
    tabs->installEventFilter(this);
}

bool TabStripDropTarget::eventFilter(QObject *, QEvent *event) {
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto *drag = static_cast<QDropEvent *>(event);
            const bool takes = project_.active() && (drag->mimeData()->hasUrls() || drag->mimeData()->hasText());
            if (takes) drag->acceptProposedAction();
            const int tab = tabs_->tabAt(drag->position().toPoint());
            movesOverTab_ = tab == hoveredTab_ ? movesOverTab_ + 1 : 0;
            hoveredTab_ = tab;
            if (tab >= 0 && movesOverTab_ > kMovesToSwitch) tabs_->setCurrentIndex(tab);
            return takes;
        }
        case QEvent::Drop: {
            auto *drop = static_cast<QDropEvent *>(event);
            if (!project_.active()) return false;
            drop->acceptProposedAction();
            receiveTransfer(tabs_, project_, project_.selectedFolder(), *drop->mimeData());
            return true;
        }
        default:
            return false;
    }
}
