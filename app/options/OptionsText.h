#pragma once

#include <optional>

#include <QStringList>

#include "ProgramOptions.h"

// The option set as the lines of an object text: "object TProgramOptions",
// then "  Name = value" for every option in its order (numbers in decimal,
// booleans True or False, the view style by its name, texts in single
// quotes with quotes doubled and control characters written outside them
// as "#" and their code), then "end".
QStringList optionsText(const ProgramOptions &options);

// The option set such lines describe (a value may go on over lines that
// the one before ends with "+"); options the text lacks keep their
// defaults. Nothing when the text cannot be read as a whole.
std::optional<ProgramOptions> readOptionsText(const QStringList &lines);
