#include "DownloadSaver.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QWebEngineDownloadRequest>

void saveDownload(QWebEngineDownloadRequest *download) {
    if (download->isSavePageDownload()) {
        download->accept();  // the path was chosen with the command
        return;
    }
    const QString suggested = QDir(download->downloadDirectory()).filePath(download->downloadFileName());
    const QString path =
        QFileDialog::getSaveFileName(QApplication::activeWindow(), QStringLiteral("Save File"), suggested);
    if (path.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo target(path);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    download->accept();
}
