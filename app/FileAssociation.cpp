#include "FileAssociation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {

const QString kMimeType = QStringLiteral("application/x-sitelark-project");

// Writes the file unless it already holds the text; true when it was written.
bool writeIfChanged(const QString &path, const QByteArray &text) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.readAll() == text) return false;
    file.close();
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(text) == text.size();
}

}  // namespace

void associateProjectFiles() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty()) return;
    const QString program = QCoreApplication::applicationFilePath();
    const QByteArray entry = QStringLiteral(
                                 "[Desktop Entry]\nType=Application\nName=Sitelark\n"
                                 "Comment=Website downloader and offline browser\nExec=\"%1\" %f\n"
                                 "MimeType=%2;\nTerminal=false\nCategories=Network;WebBrowser;\n")
                                 .arg(program, kMimeType)
                                 .toUtf8();
    writeIfChanged(data + QStringLiteral("/applications/sitelark.desktop"), entry);
    const QByteArray mime = QStringLiteral(
                                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                                "  <mime-type type=\"%1\">\n    <comment>Sitelark Project</comment>\n"
                                "    <glob pattern=\"*.slk\"/>\n  </mime-type>\n</mime-info>\n")
                                .arg(kMimeType)
                                .toUtf8();
    if (writeIfChanged(data + QStringLiteral("/mime/packages/sitelark.xml"), mime))
        QProcess::startDetached(QStringLiteral("update-mime-database"), {data + QStringLiteral("/mime")});
}
