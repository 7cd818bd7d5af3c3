#include "OptionsStorage.h"

#include <QStandardPaths>

#include "OptionsText.h"
#include "ProgramSettings.h"

namespace {

const QString kValue = QStringLiteral("MainForm_Options");

}  // namespace

ProgramOptions loadProgramOptions(const ProgramSettings &settings) {
    ProgramOptions options = readOptionsText(settings.list(kValue)).value_or(ProgramOptions{});
    if (options.projectFolder.isEmpty())
        options.projectFolder =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/EV_Projects/");
    return options;
}

void saveProgramOptions(ProgramSettings &settings, const ProgramOptions &options) {
    settings.setList(kValue, optionsText(options));
}
