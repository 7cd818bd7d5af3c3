#include "PageCommands.h"

#include <memory>

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QWebEngineFindTextResult>
#include <QWebEngineView>

namespace page_commands {
namespace {

// No "complete" choice: the browser fetches the files of such a copy again
// by their addresses, and skips every one it cannot fetch from the web,
// which is all of a stored page's images and style sheets. A web archive
// is written from what the page shows, so it keeps them.
const QString kArchive = QStringLiteral("Web Archive, single file (*.mht)");
const QString kHtmlOnly = QStringLiteral("Web Page, HTML only (*.htm *.html)");

QString suggestedName(const QWebEngineView &view) {
    QString name = view.title().isEmpty() ? QStringLiteral("untitled") : view.title();
    for (QChar c : QStringLiteral("\\/:?*<>|\"'")) name.replace(c, u' ');
    return name.trimmed() + QStringLiteral(".mht");
}

}  // namespace

void saveAs(QWebEngineView &view) {
    QString type = kArchive;
    const QString path = QFileDialog::getSaveFileName(&view, QStringLiteral("Save As"), suggestedName(view),
                                                      kArchive + QStringLiteral(";;") + kHtmlOnly, &type);
    if (path.isEmpty()) return;
    view.page()->save(path, type == kHtmlOnly ? QWebEngineDownloadRequest::SingleHtmlSaveFormat
                                              : QWebEngineDownloadRequest::MimeHtmlSaveFormat);
}

void print(QWebEngineView &view) {
    // The printer must outlive the print job, which ends after this returns.
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), &view);
    if (dialog.exec() != QDialog::Accepted) return;
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(&view, &QWebEngineView::printFinished, &view, [&view, printer, connection](bool ok) {
        QObject::disconnect(*connection);
        if (!ok)
            QMessageBox::critical(&view, QStringLiteral("Sitelark"), QStringLiteral("The page could not be printed."));
    });
    view.print(printer.get());
}

void find(QWebEngineView &view) {
    bool ok = false;
    const QString text = QInputDialog::getText(&view, QStringLiteral("Find"), QStringLiteral("Find what:"),
                                               QLineEdit::Normal, view.selectedText(), &ok);
    if (!ok || text.isEmpty()) return;
    view.findText(text, {}, [shown = QPointer<QWebEngineView>(&view), text](const QWebEngineFindTextResult &result) {
        if (shown && result.numberOfMatches() == 0)
            QMessageBox::information(shown, QStringLiteral("Sitelark"),
                                     QStringLiteral("Cannot find \"%1\".").arg(text));
    });
}

}  // namespace page_commands
