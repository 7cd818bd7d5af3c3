#include "ProjectExport.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

#include "ExportParamDialog.h"
#include "ExportProgressDialog.h"
#include "KestProject.h"

namespace {

constexpr uint32_t kOptions = ENG_EXPORT_HTML_EXTENSION | ENG_EXPORT_NAME_LENGTH;
constexpr uint32_t kNameLength = 50;

}  // namespace

bool exportProject(QWidget *parent, KestProject &project) {
    const QString chosen =
        QFileDialog::getExistingDirectory(parent, QStringLiteral("Export project"), ExportParamDialog::lastFolder(),
                                          QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty()) return false;
    const QString folder = ExportParamDialog::asFolder(chosen);
    QDir().mkpath(folder);
    ExportProgressDialog progress(project, QStringLiteral("Export Project"), parent);
    progress.setName(project.title());
    bool exported = false;
    progress.run([&] { exported = project.exportDatabase(folder, kOptions, kNameLength); });
    if (exported)
        QMessageBox::information(parent, QStringLiteral("Sitelark"),
                                 QStringLiteral("%1 files exported successfully.").arg(progress.files()));
    else
        QMessageBox::critical(parent, QStringLiteral("Sitelark"), QStringLiteral("Project export error."));
    return exported;
}
