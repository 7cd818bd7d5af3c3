#include "LegendWindow.h"

#include <QFormLayout>
#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "StateIcons.h"
#include "TaskRow.h"

void showLegend(QWidget *parent) {
    static QPointer<QWidget> shown;
    if (!shown) {
        shown = new QWidget(parent, Qt::Tool);
        shown->setAttribute(Qt::WA_DeleteOnClose);
        shown->setWindowTitle(QStringLiteral("Legend"));
        auto *layout = new QFormLayout(shown);
        const std::pair<uint32_t, const char *> rows[] = {{TaskRow::Queued, "   - Queued"},
                                                          {TaskRow::NotAccepted, "   - Not available"},
                                                          {TaskRow::Done, "   - Look up the hierarchy"},
                                                          {TaskRow::Stopped, "   - Stopped"},
                                                          {TaskRow::Downloading, "   - Retrieving"},
                                                          {TaskRow::Failed, "   - Retrieved with error"},
                                                          {TaskRow::Ok, "   - Retrieved"}};
        for (const auto &[state, text] : rows) {
            auto *picture = new QLabel(shown);
            picture->setPixmap(stateIcon(state).pixmap(16, 16));
            layout->addRow(picture, new QLabel(QString::fromLatin1(text), shown));
        }
    }
    shown->show();
    shown->raise();
}
