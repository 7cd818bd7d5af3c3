#pragma once

#include "ProgramOptions.h"

class ProgramSettings;

// The option set kept in the user's settings as the value "MainForm_Options"
// (the lines of its object text, OptionsText.h, joined by tabs).

// The stored option set; the defaults when none is stored or it cannot be
// read. An empty project folder becomes the documents folder's
// "EV_Projects/".
ProgramOptions loadProgramOptions(const ProgramSettings &settings);
void saveProgramOptions(ProgramSettings &settings, const ProgramOptions &options);
