#pragma once

#include <QString>

class QWidget;

// Drags an address out of the program, as a link and as text, for other
// programs and for the program's own drop targets. Returns once dropped.
void dragAddress(QWidget *source, const QString &address);
