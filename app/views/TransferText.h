#pragma once

#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's own transfer text, as the clipboard and drag-and-drop carry
// it between its windows and between two running programs: lines ended by
// CR LF, the kind first, then "ProjectPath=" and the source project's file
// path, then the lines of the kind (task keys, address and form-data pairs,
// archive paths, a folder key).
namespace transfer {

// The private format's name.
inline const QString kFormat = QStringLiteral("KestDumbTransfer");
// The same transfer asked for by a program that has another project open:
// the tasks written into archives (EXT_TASK_COPY), made only when asked for.
inline const QString kArchiveFormat = QStringLiteral("application/x-kestdumbtransfer-archives");

inline const QString kTaskCopy = QStringLiteral("TASK_COPY");
inline const QString kTaskMove = QStringLiteral("TASK_MOVE");
inline const QString kItem = QStringLiteral("ITEM");
inline const QString kExternalTaskCopy = QStringLiteral("EXT_TASK_COPY");
inline const QString kCutFolder = QStringLiteral("CUT_FOLDER");

struct Text {
    QString kind;
    QString projectPath;
    QStringList lines;  // the lines after the project path

    // The value of the first line "name=value" (the name in any case); empty when none.
    QString value(const QString &name) const;
};

QByteArray compose(const Text &text);
// Nothing when the bytes lack the kind or the project path line.
std::optional<Text> parse(const QByteArray &bytes);

// Whether two project file paths name the same project (compared upper-cased).
bool sameProject(const QString &a, const QString &b);

}  // namespace transfer
