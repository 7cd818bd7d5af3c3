#include "RelatedFilesPanel.h"

#include <QApplication>
#include <QTimer>

#include "EngineLibrary.h"
#include "ItemListFrame.h"
#include "ItemListModel.h"
#include "KestProject.h"
#include "RecordBuffer.h"

namespace {

constexpr int kPauseMs = 500;

}  // namespace

RelatedFilesPanel::RelatedFilesPanel(KestProject &project, QWidget *parent)
    : QTabWidget(parent), pause_(new QTimer(this)) {
    setObjectName(QStringLiteral("relatedFiles"));
    const char *captions[kTabs] = {"Contains", "Links to", "Referenced by"};
    for (int tab = 0; tab < kTabs; ++tab) {
        auto *list = new ItemListFrame(project, this);
        list->setObjectName(QStringLiteral("relatedList%1").arg(tab));
        lists_[static_cast<size_t>(tab)] = list;
        addTab(list, QString::fromLatin1(captions[tab]));
        connect(&project, &KestProject::itemChanged, &list->model(), &ItemListModel::follow);
    }
    connect(&project, &KestProject::beforeClose, this, &RelatedFilesPanel::clear);
    pause_->setSingleShot(true);
    pause_->setInterval(kPauseMs);
    connect(pause_, &QTimer::timeout, this, &RelatedFilesPanel::loadWhenIdle);
}

void RelatedFilesPanel::follow(uint32_t resource) {
    pending_ = resource;
    pause_->start();
}

void RelatedFilesPanel::loadWhenIdle() {
    if (!isVisible()) return;
    // An open popup menu would be left behind by a list changing under it; try again after it.
    if (QApplication::activePopupWidget()) return pause_->start();
    load(pending_);
}

void RelatedFilesPanel::load(uint32_t resource) {
    resource_ = resource;
    for (int tab = 0; tab < kTabs; ++tab) {
        ItemListModel &model = lists_[static_cast<size_t>(tab)]->model();
        model.clear();
        if (resource == 0) continue;
        const auto pairs = eng::client::receiveRecords<eng::client::ItemResource>(
            engine().Eng_FreeMem, engine().Eng_GetRelItems, resource, static_cast<int16_t>(tab + ENG_REL_EMBEDDED));
        model.append(itemRows(pairs));
    }
    emit loaded(resource);
}

void RelatedFilesPanel::clear() {
    pause_->stop();
    load(0);
}
