#include "TransferText.h"

namespace transfer {

namespace {

const QString kProjectPath = QStringLiteral("ProjectPath=");

}  // namespace

QString Text::value(const QString &name) const {
    const QString prefix = name + u'=';
    for (const QString &line : lines)
        if (line.startsWith(prefix, Qt::CaseInsensitive)) return line.mid(prefix.size());
    return {};
}

QByteArray compose(const Text &text) {
    QStringList lines{text.kind, kProjectPath + text.projectPath};
    lines += text.lines;
    return lines.join(QStringLiteral("\r\n")).toUtf8();
}

std::optional<Text> parse(const QByteArray &bytes) {
    QStringList lines = QString::fromUtf8(bytes).split(QStringLiteral("\r\n"));
    if (lines.size() < 2 || !lines[1].startsWith(kProjectPath)) return std::nullopt;
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    Text text;
    text.kind = lines.takeFirst();
    text.projectPath = lines.takeFirst().mid(kProjectPath.size());
    text.lines = lines;
    return text;
}

bool sameProject(const QString &a, const QString &b) { return a.toUpper() == b.toUpper(); }

}  // namespace transfer
