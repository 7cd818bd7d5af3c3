#pragma once

#include <optional>

#include <QObject>

#include "IndexEstimate.h"
#include "IndexTicker.h"
#include "RecordBuffer.h"
#include "SearchCriteria.h"
#include "engine.h"

class KestProject;
class QWidget;

// One search of the stored files as a result page runs it. A search of the
// bodies' words needs them indexed: when some bodies are not, it asks with
// an estimate of the time, builds the index while saying how far it has
// come, and only then searches. It says what it is doing as texts and a
// bar; its questions and messages belong to the window given.
class SearchRun : public QObject {
    Q_OBJECT

public:
    SearchRun(KestProject &project, QWidget *window);

    // The files found, maybe none; nothing when the search did not run to
    // an answer: the user declined to index, the index could not be built,
    // or the engine found nothing (the user was told).
    std::optional<eng::client::RecordBuffer<eng::client::ItemResource>> run(const SearchCriteria &criteria);

signals:
    // What the run is doing; an empty text once it has ended.
    void stateChanged(const QString &text);
    // How far the index has come, for a bar (a maximum of 0: busy, no measure).
    void progressChanged(int value, int maximum);

private:
    // Indexes the bodies the index lacks, when there are any and the user
    // agrees; false when the search cannot go on.
    bool indexFirst();
    void showIndexProgress(const EngIndexProgressRecord &progress);

    KestProject &project_;
    QWidget *window_;
    IndexSpeeds speeds_;  // of the index run under way
    IndexTicker ticker_;
};
