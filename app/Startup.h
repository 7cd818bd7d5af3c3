#pragma once

#include <QString>

// The program's start, shared by the program and the programs that measure
// or test it. Before the application object exists: bind the engine and
// declare the browser schemes; an error text when the engine cannot be bound.
QString prepareStartup();

// Once the application object exists: refuse an engine of another version
// (with the message, false), register the offline protocol handler, and let
// the engine show its messages through the program.
bool finishStartup();
